// The latency timer of an FTDI adapter as Windows keeps it: keys made here
// the way the FTDI driver makes them (under Wine, or as an administrator on
// Windows), read back by the COM port's name, then removed.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "link/LinkCheck.h"

namespace tavo {
namespace {

const std::wstring kBus = L"SYSTEM\\CurrentControlSet\\Enum\\FTDIBUS";

class FtdiRegistryKeys : public ::testing::Test {
protected:
    std::wstring prefix = L"VID_0403+PID_6001+TAVO" + std::to_wstring(GetCurrentProcessId());
    std::vector<std::wstring> made;

    // One adapter: its device id, instance 0000, PortName and perhaps LatencyTimer.
    bool makeAdapter(const std::wstring& id, const std::wstring& port, std::optional<DWORD> latency)
    {
        const std::wstring device = kBus + L"\\" + prefix + id;
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, (device + L"\\0000\\Device Parameters").c_str(), 0, nullptr, 0,
                            KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
            return false;
        made.push_back(device);
        RegSetValueExW(key, L"PortName", 0, REG_SZ, reinterpret_cast<const BYTE*>(port.c_str()),
                       static_cast<DWORD>((port.size() + 1) * sizeof(wchar_t)));
        if (latency)
            RegSetValueExW(key, L"LatencyTimer", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*latency),
                           sizeof(DWORD));
        RegCloseKey(key);
        return true;
    }
    void TearDown() override
    {
        for (const std::wstring& device : made)
            RegDeleteTreeW(HKEY_LOCAL_MACHINE, device.c_str());
    }
};

TEST_F(FtdiRegistryKeys, the_latency_timer_is_read_from_the_adapter_whose_port_name_is_the_com_port)
{
    if (!makeAdapter(L"A", L"COM57", 16))
        GTEST_SKIP() << "the registry's machine part cannot be written here (not an administrator)";
    ASSERT_TRUE(makeAdapter(L"B", L"COM58", 2));
    ASSERT_TRUE(makeAdapter(L"C", L"COM60", std::nullopt));

    const AdapterLatency first = readAdapterLatency("\\\\.\\COM57");
    EXPECT_EQ(first.portName, "COM57");
    EXPECT_EQ(first.timerMs, 16);
    EXPECT_EQ(readAdapterLatency("com58:").timerMs, 2) << "any spelling of the port";
    EXPECT_EQ(readAdapterLatency("COM59").timerMs, std::nullopt) << "no adapter on that port";
    EXPECT_EQ(readAdapterLatency("COM60").timerMs, std::nullopt) << "an adapter without the value";
    EXPECT_EQ(readAdapterLatency("COM59").portName, "COM59");
}

}  // namespace
}  // namespace tavo
