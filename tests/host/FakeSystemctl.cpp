#include "FakeSystemctl.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace host_test {

namespace {

std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

FakeSystemctl::FakeSystemctl()
{
    std::filesystem::create_directories(m_folder.Path() / "state");
    std::filesystem::create_directories(m_folder.Path() / "config");
    const std::string state = (m_folder.Path() / "state").string();
    std::ofstream(Program()) << "#!/bin/sh\n"
                                "state='" << state << "'\n"
                                "echo \"$*\" >> \"$state/calls\"\n"
                                "[ \"$1\" = --user ] || { echo 'not a user call' >&2; exit 64; }\n"
                                "shift\n"
                                "if [ -e \"$state/no-manager\" ]; then\n"
                                "  echo 'Failed to connect to bus: No medium found' >&2; exit 1\n"
                                "fi\n"
                                "if [ -e \"$state/fail-$1\" ]; then\n"
                                "  echo 'Job for velmora.service failed because the control process exited with error code.' >&2\n"
                                "  exit 1\n"
                                "fi\n"
                                "case \"$1\" in\n"
                                "show)\n"
                                "  case \"$2\" in\n"
                                "  --property=Version) echo Version=252 ;;\n"
                                "  --property=MainPID) cat \"$state/pid\" 2>/dev/null || echo 0 ;;\n"
                                "  esac ;;\n"
                                "is-active)\n"
                                "  now=$(cat \"$state/active\" 2>/dev/null || echo inactive)\n"
                                "  echo \"$now\"; [ \"$now\" = active ] ;;\n"
                                "is-enabled)\n"
                                "  if [ ! -e \"$state/enabled\" ]; then\n"
                                "    echo 'Failed to get unit file state for velmora.service: No such file or directory' >&2; exit 1\n"
                                "  fi\n"
                                "  cat \"$state/enabled\"; [ \"$(cat \"$state/enabled\")\" = enabled ] ;;\n"
                                "start) echo active > \"$state/active\" ;;\n"
                                "stop)\n"
                                "  echo inactive > \"$state/active\"\n"
                                "  if [ -s \"$state/pid\" ] && [ \"$(cat \"$state/pid\")\" != 0 ]; then\n"
                                "    pid=$(cat \"$state/pid\"); kill -TERM \"$pid\"\n"
                                // The test reaps it: an ended process stays a zombie until then.
                                "    while [ -d /proc/$pid ] && ! grep -q '^State:[[:space:]]*Z' /proc/$pid/status 2>/dev/null; do\n"
                                "      sleep 0.05\n"
                                "    done\n"
                                "    echo 0 > \"$state/pid\"\n"
                                "  fi ;;\n"
                                "enable) echo enabled > \"$state/enabled\" ;;\n"
                                "disable) echo disabled > \"$state/enabled\" ;;\n"
                                "daemon-reload) ;;\n"
                                "*) echo \"Unknown command verb $1.\" >&2; exit 1 ;;\n"
                                "esac\n";
    std::filesystem::permissions(Program(), std::filesystem::perms::owner_all);
}

std::vector<std::pair<std::string, std::string>> FakeSystemctl::Environment() const
{
    return { { "VELMORA_SYSTEMCTL", Program().string() }, { "XDG_CONFIG_HOME", (m_folder.Path() / "config").string() } };
}

std::filesystem::path FakeSystemctl::UnitPath() const
{
    return m_folder.Path() / "config" / "systemd" / "user" / "velmora.service";
}

void FakeSystemctl::SetActive(const std::string& state)
{
    std::ofstream(State("active")) << state << "\n";
}

std::string FakeSystemctl::Active() const
{
    std::string state = ReadAll(State("active"));
    return state.empty() ? "inactive" : state.substr(0, state.find('\n'));
}

void FakeSystemctl::SetMainPid(pid_t pid)
{
    std::ofstream(State("pid")) << pid << "\n";
}

void FakeSystemctl::WithoutManager()
{
    std::ofstream(State("no-manager")).put('\n');
}

void FakeSystemctl::FailOn(const std::string& verb)
{
    std::ofstream(State("fail-" + verb)).put('\n');
}

std::vector<std::string> FakeSystemctl::Calls() const
{
    std::vector<std::string> calls;
    std::istringstream lines(ReadAll(State("calls")));
    for (std::string line; std::getline(lines, line);)
        calls.push_back(line);
    return calls;
}

bool FakeSystemctl::Called(const std::string& line) const
{
    std::vector<std::string> calls = Calls();
    return std::find(calls.begin(), calls.end(), line) != calls.end();
}

} // namespace host_test
