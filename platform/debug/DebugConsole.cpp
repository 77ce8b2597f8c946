#include "platform/debug/DebugConsole.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "platform/text/WideString.h"

namespace {
std::mutex g_debugMutex;
std::string* g_debugCapture = nullptr;
bool g_debugToStandardError = false;

void Emit(const std::string& utf8)
{
    std::lock_guard lock(g_debugMutex);
    if (g_debugCapture != nullptr)
        g_debugCapture->append(utf8);
    static const bool toStandardError = std::getenv("VELMORA_DEBUG") != nullptr;
    if (toStandardError || g_debugToStandardError)
        std::fputs(utf8.c_str(), stderr);
}
} // namespace

void OutputDebugStringW(LPCWSTR text)
{
    if (text != nullptr)
        Emit(WideToUtf8(text));
}

void OutputDebugStringA(LPCSTR text)
{
    if (text != nullptr)
        Emit(WideToUtf8(WidenBytes(text, std::string::npos)));
}

namespace platform {

void CaptureDebugOutput(std::string* capture)
{
    std::lock_guard lock(g_debugMutex);
    g_debugCapture = capture;
}

void SendDebugOutputToStandardError(bool send)
{
    std::lock_guard lock(g_debugMutex);
    g_debugToStandardError = send;
}

} // namespace platform
