#include "link/WindowsSerialLine.h"

#include <windows.h>
#include <timeapi.h>

#include <algorithm>
#include <cctype>
#include <string_view>

#include "common/WindowsFiles.h"

namespace tavo {

namespace {

using file_detail::wideText;
using file_detail::windowsErrorText;

constexpr DWORD kWriteBoundMs = 50;
constexpr DWORD kPurgeAll = PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR;

HANDLE handleOf(void* handle)
{
    return static_cast<HANDLE>(handle);
}

PortStatus openFailure(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_DEVICE_NOT_CONNECTED:
        return PortStatus::failed(PortProblem::NoSuchDevice);
    // A COM port is never shared: access denied means another program has it.
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return PortStatus::failed(PortProblem::Busy);
    default:
        return PortStatus::failed(PortProblem::Other, windowsErrorText(error));
    }
}

// Errors after which the handle is of no further use: the adapter was
// unplugged or its driver gave up on it.
bool deviceGone(DWORD error)
{
    switch (error) {
    case ERROR_INVALID_HANDLE:
    case ERROR_BAD_COMMAND:
    case ERROR_DEVICE_REMOVED:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_FILE_NOT_FOUND:
    case ERROR_BROKEN_PIPE:
    case ERROR_NOT_READY:
        return true;
    default:
        return false;
    }
}

// Whole milliseconds, rounded up: a wait never ends before its bound.
DWORD millisecondsOf(std::chrono::microseconds bound)
{
    if (bound.count() <= 0)
        return 0;
    const long long ms = (bound.count() + 999) / 1000;
    return static_cast<DWORD>(std::min<long long>(ms, MAXDWORD - 1));
}

}  // namespace

std::string windowsPortName(const std::string& device)
{
    std::string_view name(device);
    if (!name.empty() && name.back() == ':')
        name.remove_suffix(1);
    const auto isDigit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
    if (name.size() < 4 || name.size() > 13 || !std::all_of(name.begin() + 3, name.end(), isDigit))
        return device;
    for (std::size_t i = 0; i < 3; ++i)
        if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i])
            return device;
    const unsigned long long number = std::stoull(std::string(name.substr(3)));
    if (number == 0)
        return device;
    return "\\\\.\\COM" + std::to_string(number);
}

WindowsSerialLine::~WindowsSerialLine()
{
    close();
}

PortStatus WindowsSerialLine::open(const std::string& device)
{
    close();
    const auto name = wideText(windowsPortName(device));
    if (!name || name->empty() || name->find(L'\0') != std::wstring::npos)
        return PortStatus::failed(PortProblem::NoSuchDevice);
    // A name outside the device namespace that names a file or a folder is
    // no port: refused unopened (a folder would otherwise read as a port in
    // use, access to it being denied).
    if (name->rfind(LR"(\\.\)", 0) != 0 && ::GetFileAttributesW(name->c_str()) != INVALID_FILE_ATTRIBUTES)
        return PortStatus::failed(PortProblem::NotSerial);
    // No sharing: while TaVO has the port, no other program can open it.
    const HANDLE handle = ::CreateFileW(name->c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return openFailure(::GetLastError());
    DCB settings{};
    settings.DCBlength = sizeof settings;
    if (::GetFileType(handle) != FILE_TYPE_CHAR || !::GetCommState(handle, &settings)) {
        ::CloseHandle(handle);
        return PortStatus::failed(PortProblem::NotSerial);
    }
    handle_ = handle;
    readWaitMs_.reset();
    readAhead_.reset();
    // The system's timer ticks every 15.6 ms unless asked for finer ones; the
    // reply waits (50 ms) and the link's pauses (10 ms slices) need them.
    finerTimer_ = ::timeBeginPeriod(1) == TIMERR_NOERROR;
    return {};
}

void WindowsSerialLine::close()
{
    if (!handle_)
        return;
    ::CloseHandle(handleOf(handle_));
    handle_ = nullptr;
    readWaitMs_.reset();
    readAhead_.reset();
    if (finerTimer_)
        ::timeEndPeriod(1);
    finerTimer_ = false;
}

bool WindowsSerialLine::stillThere()
{
    DWORD errors = 0;
    COMSTAT status{};
    return ::ClearCommError(handleOf(handle_), &errors, &status) != 0;
}

LineResult WindowsSerialLine::failureOf(unsigned long error, LineResult otherwise)
{
    return deviceGone(error) || !stillThere() ? LineResult::Failed : otherwise;
}

bool WindowsSerialLine::setReadWait(unsigned long waitMs)
{
    if (readWaitMs_ == waitMs)
        return true;
    COMMTIMEOUTS timeouts{};
    if (waitMs == 0) {
        // A read returns at once with whatever is queued, even nothing.
        timeouts.ReadIntervalTimeout = MAXDWORD;
    } else {
        // A read returns at once with whatever is queued, or with the first
        // byte to come within waitMs, or with nothing after that.
        timeouts.ReadIntervalTimeout = MAXDWORD;
        timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
        timeouts.ReadTotalTimeoutConstant = waitMs;
    }
    timeouts.WriteTotalTimeoutConstant = kWriteBoundMs;
    if (!::SetCommTimeouts(handleOf(handle_), &timeouts)) {
        readWaitMs_.reset();
        return false;
    }
    readWaitMs_ = waitMs;
    return true;
}

LineResult WindowsSerialLine::configure(int baud)
{
    if (!handle_)
        return LineResult::Failed;
    DCB settings{};
    settings.DCBlength = sizeof settings;
    if (!::GetCommState(handleOf(handle_), &settings))
        return failureOf(::GetLastError(), LineResult::Refused);
    // The rate as the integer it is (976, 7812, 62500 ...), raw 8N1.
    settings.BaudRate = static_cast<DWORD>(baud);
    settings.fBinary = TRUE;
    settings.fParity = FALSE;
    settings.ByteSize = 8;
    settings.Parity = NOPARITY;
    settings.StopBits = ONESTOPBIT;
    // No flow control of either kind, whatever another program left on the
    // port: with XON/XOFF, replies 0x11 and 0x13 (RAM bytes like any other)
    // would be swallowed; with CTS or DSR, an interface that does not drive
    // them would never let a request out, or never be heard.
    settings.fOutxCtsFlow = FALSE;
    settings.fOutxDsrFlow = FALSE;
    settings.fDsrSensitivity = FALSE;
    settings.fOutX = FALSE;
    settings.fInX = FALSE;
    settings.fTXContinueOnXoff = TRUE;
    // Every byte as it came: a RAM byte of 0x00 is a value, not a pad.
    settings.fNull = FALSE;
    settings.fErrorChar = FALSE;
    // A framing error must not stop the port until someone clears it.
    settings.fAbortOnError = FALSE;
    // DTR and RTS up: interfaces powered from the port's modem lines need
    // them, and none needs them down.
    settings.fDtrControl = DTR_CONTROL_ENABLE;
    settings.fRtsControl = RTS_CONTROL_ENABLE;
    if (!::SetCommState(handleOf(handle_), &settings))
        return failureOf(::GetLastError(), LineResult::Refused);
    readWaitMs_.reset();
    if (!setReadWait(0))
        return failureOf(::GetLastError(), LineResult::Refused);
    return LineResult::Ok;
}

std::optional<int> WindowsSerialLine::lineRate()
{
    if (!handle_)
        return std::nullopt;
    DCB settings{};
    settings.DCBlength = sizeof settings;
    if (!::GetCommState(handleOf(handle_), &settings))
        return std::nullopt;
    return static_cast<int>(settings.BaudRate);
}

LineResult WindowsSerialLine::purge()
{
    if (!handle_)
        return LineResult::Failed;
    readAhead_.reset();
    if (!::PurgeComm(handleOf(handle_), kPurgeAll))
        return failureOf(::GetLastError(), LineResult::Refused);
    return LineResult::Ok;
}

LineResult WindowsSerialLine::writeByte(std::uint8_t byte)
{
    if (!handle_)
        return LineResult::Failed;
    // The write time-out (50 ms) bounds a byte held back by the driver.
    if (!readWaitMs_ && !setReadWait(0))
        return failureOf(::GetLastError(), LineResult::Refused);
    DWORD written = 0;
    if (!::WriteFile(handleOf(handle_), &byte, 1, &written, nullptr))
        return failureOf(::GetLastError(), LineResult::TimedOut);
    return written == 1 ? LineResult::Ok : LineResult::TimedOut;
}

LineResult WindowsSerialLine::waitForInput(std::chrono::microseconds bound)
{
    if (!handle_)
        return LineResult::Failed;
    if (readAhead_)
        return LineResult::Ok;
    DWORD errors = 0;
    COMSTAT status{};
    if (!::ClearCommError(handleOf(handle_), &errors, &status))
        return LineResult::Failed;
    if (status.cbInQue > 0)
        return LineResult::Ok;
    const DWORD waitMs = millisecondsOf(bound);
    if (waitMs == 0)
        return LineResult::TimedOut;
    // Windows signals a queued byte only to a read (or to an overlapped
    // event wait): the read with a time-out is the bounded wait, and the byte
    // it takes is handed over by the next readQueued.
    if (!setReadWait(waitMs))
        return failureOf(::GetLastError(), LineResult::TimedOut);
    std::uint8_t byte = 0;
    DWORD count = 0;
    if (!::ReadFile(handleOf(handle_), &byte, 1, &count, nullptr))
        return failureOf(::GetLastError(), LineResult::TimedOut);
    if (count == 0)
        return LineResult::TimedOut;
    readAhead_ = byte;
    return LineResult::Ok;
}

std::optional<std::size_t> WindowsSerialLine::readQueued(std::span<std::uint8_t> buffer)
{
    if (!handle_)
        return std::nullopt;
    if (buffer.empty())
        return 0;
    std::size_t taken = 0;
    if (readAhead_) {
        buffer[0] = *readAhead_;
        readAhead_.reset();
        taken = 1;
    }
    // What the driver holds, and no more: a read of queued bytes returns at
    // once whatever the time-outs, and a port that is gone says so here.
    DWORD errors = 0;
    COMSTAT status{};
    if (!::ClearCommError(handleOf(handle_), &errors, &status))
        return std::nullopt;
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(buffer.size() - taken, status.cbInQue));
    if (wanted == 0)
        return taken;
    DWORD count = 0;
    if (!::ReadFile(handleOf(handle_), buffer.data() + taken, wanted, &count, nullptr) &&
        failureOf(::GetLastError(), LineResult::TimedOut) == LineResult::Failed)
        return std::nullopt;
    return taken + count;
}

}  // namespace tavo
