// The Linux telephony over a cellular modem's AT command port, against a fake modem on a
// pseudo-terminal; and the parsers of the modem's answers.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <pty.h>
#include <string>
#include <thread>
#include <unistd.h>

#include "phone/Phone.h"
#include "platform/phone/linux/AtModem.h"
#include "platform/phone/linux/LinuxPhoneBackend.h"
#include "support/RegistryTestSupport.h"

using namespace platform::linuxphone;

TEST(AtAnswers, RegistrationOperatorAndSignal)
{
    EXPECT_EQ(ParseRegistration({ "+CREG: 0,1" }), 5u);
    EXPECT_EQ(ParseRegistration({ "+CREG: 2,5,\"00C3\",\"0A1B\"" }), 6u);
    EXPECT_EQ(ParseRegistration({ "+CREG: 0,2" }), 4u);
    EXPECT_EQ(ParseRegistration({ "+CREG: 0,3" }), 2u);
    EXPECT_EQ(ParseRegistration({ "+CREG: 0,0" }), 3u);
    EXPECT_EQ(ParseRegistration({ "+CREG: 0,4" }), 1u);
    EXPECT_EQ(ParseRegistration({ "+CREG: 1" }), 5u); // the unsolicited form
    EXPECT_FALSE(ParseRegistration({ "+CREG:" , "+CGREG: 0,1" }).has_value());
    EXPECT_FALSE(ParseRegistration({ "+CREG: x,y" }).has_value());
    EXPECT_EQ(ParseOperatorName({ "+COPS: 0,0,\"Fake, Telecom\",7" }), "Fake, Telecom");
    EXPECT_FALSE(ParseOperatorName({ "+COPS: 0" }).has_value());
    EXPECT_EQ(ParseSignalDbm({ "+CSQ: 20,99" }), -73);
    EXPECT_EQ(ParseSignalDbm({ "+CSQ: 0,0" }), -113);
    EXPECT_FALSE(ParseSignalDbm({ "+CSQ: 99,99" }).has_value());
    EXPECT_FALSE(ParseSignalDbm({ "OK" }).has_value());
}

namespace {

// A modem on the master side of a pseudo-terminal: echoes until ATE0, answers a few commands.
class FakeModem {
public:
    FakeModem()
    {
        char name[128] = {};
        if (openpty(&m_master, &m_slave, name, nullptr, nullptr) == 0)
            m_path = name;
        m_thread = std::thread([this] { Run(); });
    }
    ~FakeModem()
    {
        m_stop = true;
        m_thread.join();
        close(m_master);
        close(m_slave);
    }
    const std::string& Path() const { return m_path; }
    std::atomic<int> rssi { 20 };
    // While set, the signal's answer waits: the caller sees the text from before it.
    std::atomic<bool> holdSignal { false };

private:
    void Send(const std::string& text) { (void)!write(m_master, text.data(), text.size()); }
    void Answer(const std::string& command)
    {
        if (m_echo)
            Send(command + "\r\n");
        if (command == "ATE0")
            m_echo = false;
        if (command == "AT" || command == "ATE0") {
            Send("\r\nOK\r\n");
        } else if (command == "AT+CREG?") {
            Send("\r\n+CREG: 0,5\r\n\r\nOK\r\n");
        } else if (command.rfind("AT+COPS=3,", 0) == 0) {
            m_format = command.back();
            Send("\r\nOK\r\n");
        } else if (command == "AT+COPS?") {
            Send(m_format == '0' ? "\r\n+COPS: 0,0,\"Fake Telecom\",7\r\n\r\nOK\r\n" : "\r\n+COPS: 0,1,\"FAKE\",7\r\n\r\nOK\r\n");
        } else if (command == "AT+CSQ") {
            while (holdSignal && !m_stop)
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            Send("\r\n+CSQ: " + std::to_string(rssi.load()) + ",99\r\n\r\nOK\r\n");
        } else {
            Send("\r\nERROR\r\n");
        }
    }
    void Run()
    {
        std::string pending;
        while (!m_stop) {
            fd_set set;
            FD_ZERO(&set);
            FD_SET(m_master, &set);
            timeval wait { 0, 20000 };
            if (select(m_master + 1, &set, nullptr, nullptr, &wait) <= 0)
                continue;
            char buffer[256];
            ssize_t n = read(m_master, buffer, sizeof(buffer));
            if (n <= 0)
                continue;
            pending.append(buffer, static_cast<size_t>(n));
            size_t end;
            while ((end = pending.find('\r')) != std::string::npos) {
                std::string command = pending.substr(0, end);
                pending.erase(0, end + 1);
                if (!command.empty())
                    Answer(command);
            }
        }
    }

    int m_master = -1;
    int m_slave = -1;
    std::string m_path;
    bool m_echo = true;
    char m_format = '0';
    std::atomic<bool> m_stop { false };
    std::thread m_thread;
};

} // namespace

TEST(AtModemPhone, ThePhoneEditionRunsOnAModemsCommandPort)
{
    FakeModem fake;
    ASSERT_FALSE(fake.Path().empty());
    testing_support::MemoryRegistryScope registry;
    platform::LinuxPhoneBackend backend(fake.Path());
    platform::InstallPhoneBackend(&backend);
    {
        Phone phone;
        ASSERT_EQ(phone.InitPhone(nullptr), 1u);
        EXPECT_EQ(phone.LineIndex(), 0u);
        EXPECT_EQ(phone.RadioAvailable(), 1u);
        EXPECT_EQ(phone.QueryRegistration(), kRegistrationRegistered);
        EXPECT_EQ(phone.OperatorName(), L"Fake Telecom");
        fake.holdSignal = true; // else a quick answer could already show in this first text
        EXPECT_EQ(phone.SignalText(), L"No signal");
        fake.holdSignal = false;
        // The answer comes back on the radio's thread; the next text shows it.
        std::wstring text;
        for (int i = 0; i < 200 && text != L"Good (68%)"; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            text = phone.SignalText();
        }
        EXPECT_EQ(text, L"Good (68%)");
    }
    platform::InstallPhoneBackend(nullptr);
}

TEST(AtModemPhone, AModemThatDoesNotAnswerIsNoTelephony)
{
    platform::LinuxPhoneBackend backend("/dev/null");
    DWORD devices = 9;
    EXPECT_EQ(backend.Initialize(devices), LINEERR_NODRIVER);
    platform::LinuxPhoneBackend none("");
    EXPECT_EQ(none.Initialize(devices), LINEERR_NODRIVER);
    EXPECT_EQ(devices, 0u);
}
