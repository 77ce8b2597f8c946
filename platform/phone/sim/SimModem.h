// The simulated modem: TAPI line devices with one cellular line, voice registration, the
// operator's names, a radio interface library whose signal answers arrive later on a thread of
// its own, and the open dial-up (RAS) connections. While it exists it provides "ril.dll" (unless
// told the radio is missing).
//
// Scenario commands (see platform/sim/Scenario.h for the line format):
//   telephony on|off                 whether lineInitialize succeeds
//   lines N [cellular=I]             N line devices; device I is the radio's (-1: none)
//   lineopen DEVICE ok|fail
//   registration STATUS | registration fail   status 1-8 as the extension reports it
//   operator LONG [SHORT]            the operator's long and short names ("" for none)
//   signal DBM [delay=MS] | signal error      answers to signal queries
//   radio present|missing|incomplete  the library with all three functions, none, or
//                                    without RIL_GetSignalQuality
//   ras NAME... | ras none | ras fail [error=N]   the open dial-up connections' entry names
// Options other than those shown are refused: a misspelt one would otherwise change nothing.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/phone/PhoneBackend.h"
#include "platform/phone/Ril.h"
#include "platform/sim/Scenario.h"

namespace platform {

class SimModem final : public PhoneBackend {
public:
    enum class Radio : uint8_t { Present, Missing, Incomplete };

    // Telephony with three line devices, device 0 the radio's, registered at home with the
    // operator "Sim Mobile" ("SIM"), signal -75 dBm answered at once, no dial-up connection.
    SimModem();
    ~SimModem() override;
    SimModem(const SimModem&) = delete;
    SimModem& operator=(const SimModem&) = delete;

    void SetTelephony(bool present);
    void SetLines(DWORD count, int cellularDevice);
    void SetLineOpenFails(DWORD device, bool fails);
    // nullopt: the registration query fails.
    void SetRegistration(std::optional<DWORD> status);
    void SetOperator(const std::wstring& longName, const std::wstring& shortName);
    // nullopt: signal queries are answered with an error.
    void SetSignal(std::optional<int> dBm, DWORD answerDelayMs = 0);
    void SetRadio(Radio radio);
    void SetRasEntries(std::vector<std::wstring> entryNames);
    void SetRasFailure(DWORD error); // NO_ERROR to stop failing

    // Blocks until every signal answer asked for so far has been delivered.
    void WaitForAnswers();
    // While held, answers wait in the radio's queue whatever their delay; releasing delivers
    // every waiting answer and returns when they have been delivered.
    void HoldAnswers();
    void ReleaseAnswers();
    // The devices lineOpen was asked for, in order.
    std::vector<DWORD> OpenedDevices() const;
    int SignalQueries() const;
    bool RadioInitialized() const;

    static std::string CheckCommand(const ScenarioCommand& command);
    void Schedule(const std::vector<ScenarioCommand>& commands);
    std::string Perform(const ScenarioCommand& command);

    LONG Initialize(DWORD& deviceCount) override;
    LONG OpenLine(DWORD device) override;
    LONG LineKind(DWORD device, DWORD& kind) override;
    LONG RegisterStatus(DWORD device, DWORD& status) override;
    LONG CurrentOperator(DWORD device, std::wstring& longName, std::wstring& shortName) override;
    DWORD RasConnections(std::vector<std::wstring>& entryNames) override;

    // The radio library's functions (reached through the "ril.dll" exports).
    HRESULT RilInitialize(RILRESULTCALLBACK result, RILNOTIFYCALLBACK notify, DWORD param, HRIL* handle);
    HRESULT RilDeinitialize(HRIL handle);
    HRESULT RilGetSignalQuality(HRIL handle);

private:
    struct Answer {
        HRESULT command;
        std::optional<int> dBm;
        std::chrono::steady_clock::time_point due;
    };
    struct Pending {
        uint64_t dueMs;
        ScenarioCommand command;
    };

    struct ScratchTag {};
    // A modem that only checks commands: no thread, no radio library.
    explicit SimModem(ScratchTag);

    // A scenario verb: adding one is a row of kVerbs and its handler.
    struct Verb {
        const char* name;
        size_t minArgs;
        size_t maxArgs;
        const char* usage;  // the answer to a malformed command
        const char* option; // the NAME=VALUE name it takes, if any
        std::string (SimModem::*perform)(const ScenarioCommand& command);
    };
    static const Verb kVerbs[];
    static const Verb* FindVerb(std::string_view name);
    static std::string Usage(const ScenarioCommand& command);

    void RunDue();
    void RegisterRadio();
    void Deliver();
    std::string PerformLocked(const ScenarioCommand& command);

    // The verbs' handlers, called with a fitting number of arguments.
    std::string PerformTelephony(const ScenarioCommand& command);
    std::string PerformLines(const ScenarioCommand& command);
    std::string PerformLineOpen(const ScenarioCommand& command);
    std::string PerformRegistration(const ScenarioCommand& command);
    std::string PerformOperator(const ScenarioCommand& command);
    std::string PerformSignal(const ScenarioCommand& command);
    std::string PerformRadio(const ScenarioCommand& command);
    std::string PerformRas(const ScenarioCommand& command);

    mutable std::recursive_mutex m_mutex;
    bool m_scratch = false;
    bool m_telephony = true;
    DWORD m_lineCount = 3;
    int m_cellularDevice = 0;
    std::set<DWORD> m_failingLines;
    std::optional<DWORD> m_registration = 5;
    std::wstring m_operatorLong = L"Sim Mobile";
    std::wstring m_operatorShort = L"SIM";
    std::optional<int> m_signalDbm = -75;
    DWORD m_answerDelayMs = 0;
    Radio m_radio = Radio::Present;
    std::vector<std::wstring> m_rasEntries;
    DWORD m_rasFailure = NO_ERROR;
    std::vector<DWORD> m_openedDevices;
    std::vector<Pending> m_pending;

    // The radio's side, shared with the answering thread.
    mutable std::mutex m_radioMutex;
    std::condition_variable m_radioWake;
    std::condition_variable m_radioIdle;
    std::deque<Answer> m_answers;
    bool m_delivering = false;
    bool m_stopping = false;
    bool m_holding = false;
    RILRESULTCALLBACK m_resultCallback = nullptr;
    RILNOTIFYCALLBACK m_notifyCallback = nullptr;
    DWORD m_callbackParam = 0;
    HRIL m_radioHandle = nullptr;
    HRESULT m_nextCommand = 1;
    int m_signalQueries = 0;
    std::thread m_answerThread;
};

} // namespace platform
