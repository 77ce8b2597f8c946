// How a Linux interface is named on the emulated device. The device knows an adapter by its
// driver key under HKEY_LOCAL_MACHINE\Comm with "1" appended (the first instance of the
// driver), and the system's friendly-name scan only takes driver keys that do not end in "1".
// So a Linux name becomes a driver key that keeps it readable and never ends in "1":
//   - letters a-z become A-Z; digits, "-", "." and "_" stay;
//   - every other byte (upper-case letters included, so that names differing only in case
//     stay apart in the case-blind registry) becomes "%" and two upper-case hex digits;
//   - a "#" is appended when the result would end in "1", or would be "PPP" (whose adapter
//     name would be the dial-up adapter's);
// and the adapter name is that key plus "1": eth0 -> ETH0 -> ETH01, wlp2s0 -> WLP2S01,
// eth1 -> ETH1# -> ETH1#1, br-lan -> BR-LAN1. The mapping is one to one and can be undone.
// The machine's first PPP link is the device's dial-up adapter "ppp1" instead.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

inline constexpr wchar_t kDialUpAdapterName[] = L"ppp1";

std::wstring LinuxDriverKey(std::string_view linuxName);
std::wstring LinuxAdapterName(std::string_view linuxName);
// The Linux name behind an adapter name made by LinuxAdapterName, or nullopt when the text is
// not one (other letter case is accepted: the device compares names ignoring case).
std::optional<std::string> LinuxNameOfAdapter(std::wstring_view adapterName);

} // namespace platform
