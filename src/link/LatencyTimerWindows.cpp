// The adapter's latency timer on Windows: the FTDI driver keeps it for each
// adapter it knows under Enum\FTDIBUS\<device id>\<instance>\Device
// Parameters, beside the COM port it gave the adapter (PortName).
#include <windows.h>

#include <cctype>
#include <string>

#include "common/WindowsFiles.h"
#include "link/LinkCheck.h"

namespace tavo {

namespace {

constexpr const wchar_t* kFtdiBus = L"SYSTEM\\CurrentControlSet\\Enum\\FTDIBUS";

// "\\.\com3", "COM3:" and "com3" all name COM3.
std::string comPortName(std::string device)
{
    if (device.rfind("\\\\.\\", 0) == 0)
        device.erase(0, 4);
    while (!device.empty() && device.back() == ':')
        device.pop_back();
    for (char& c : device)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return device;
}

// The names of the subkeys of `key`.
template <typename Each>
void forEachSubkey(HKEY key, Each each)
{
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        if (RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return;
        if (each(std::wstring(name, length)))
            return;
    }
}

std::optional<std::wstring> stringValue(HKEY key, const wchar_t* name)
{
    wchar_t text[64] = {};
    DWORD type = 0;
    DWORD size = sizeof text - sizeof(wchar_t);
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::nullopt;
    return std::wstring(text);
}

}  // namespace

AdapterLatency readAdapterLatency(const std::string& device, const std::string&)
{
    AdapterLatency adapter;
    adapter.portName = comPortName(device);
    const auto wanted = file_detail::wideText(adapter.portName);
    HKEY bus = nullptr;
    if (!wanted || RegOpenKeyExW(HKEY_LOCAL_MACHINE, kFtdiBus, 0, KEY_READ, &bus) != ERROR_SUCCESS)
        return adapter;
    forEachSubkey(bus, [&](const std::wstring& id) {
        HKEY deviceKey = nullptr;
        if (RegOpenKeyExW(bus, id.c_str(), 0, KEY_READ, &deviceKey) != ERROR_SUCCESS)
            return false;
        bool found = false;
        forEachSubkey(deviceKey, [&](const std::wstring& instance) {
            HKEY parameters = nullptr;
            const std::wstring path = instance + L"\\Device Parameters";
            if (RegOpenKeyExW(deviceKey, path.c_str(), 0, KEY_READ, &parameters) != ERROR_SUCCESS)
                return false;
            const auto port = stringValue(parameters, L"PortName");
            if (port && _wcsicmp(port->c_str(), wanted->c_str()) == 0) {
                DWORD value = 0;
                DWORD type = 0;
                DWORD size = sizeof value;
                if (RegQueryValueExW(parameters, L"LatencyTimer", nullptr, &type, reinterpret_cast<BYTE*>(&value),
                                     &size) == ERROR_SUCCESS &&
                    type == REG_DWORD && value >= 1 && value <= 255)
                    adapter.timerMs = static_cast<int>(value);
                found = true;
            }
            RegCloseKey(parameters);
            return found;
        });
        RegCloseKey(deviceKey);
        return found;
    });
    RegCloseKey(bus);
    return adapter;
}

}  // namespace tavo
