#include "DeviceRunSupport.h"

#include <fstream>

namespace host_test {

std::filesystem::path DeviceRun::DeviceFile(const std::string& relative) const
{
    return m_data.Path() / "device" / relative;
}

void DeviceRun::Settings(const std::vector<std::pair<std::string, std::string>>& values)
{
    std::ofstream hive(m_data.Path() / "registry.reg");
    hive << "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Tavrel\\Velmora]\n";
    hive << "\"SettingsSaved\"=dword:00000001\n";
    for (const auto& [name, value] : values) {
        bool number = !value.empty() && value.find_first_not_of("0123456789") == std::string::npos;
        if (number) {
            char hex[16];
            std::snprintf(hex, sizeof hex, "%08lx", std::stoul(value));
            hive << "\"" << name << "\"=dword:" << hex << "\n";
        } else {
            hive << "\"" << name << "\"=\"" << value << "\"\n";
        }
    }
}

std::string DeviceRun::Lan(const std::string& address)
{
    return "interface LOOPBACK type=loopback\n"
           "interface NE20001 type=ethernet mac=00-0A-1B-2C-3D-4E description=\"NE2000 Compatible Ethernet Driver\"\n"
           "address NE20001 " + address + "/24\n"
           "route default via 192.168.1.1 dev NE20001\n"
           "dns NE20001 192.168.1.1\n"
           "lease NE20001 server=192.168.1.1 duration=86400\n";
}

ProgramResult DeviceRun::Simulate(const std::string& scenario, const std::vector<std::string>& args,
    const std::string& script)
{
    int run = ++m_files;
    std::filesystem::path scenarioFile = m_data.Path() / ("scenario" + std::to_string(run) + ".txt");
    std::ofstream(scenarioFile) << scenario;
    std::vector<std::string> command { "--data", m_data.Path().string(), "--simulate", scenarioFile.string() };
    if (!script.empty()) {
        std::filesystem::path scriptFile = m_data.Path() / ("script" + std::to_string(run) + ".txt");
        std::ofstream(scriptFile) << script;
        command.push_back("--script");
        command.push_back(scriptFile.string());
    }
    command.insert(command.end(), args.begin(), args.end());
    ProgramResult result = RunVelmora(command);
    m_output = ParseHostOutput(result.out);
    return result;
}

} // namespace host_test
