#include "settings/ViewItem.h"

const wchar_t* ViewItemName(DWORD id)
{
    switch (id) {
    case ViewAdapterName:
        return L"Adapter Name";
    case ViewIpAddress:
        return L"IP Address";
    case ViewSubnetMask:
        return L"Subnet Mask";
    case ViewDefaultGateway:
        return L"Default Gateway";
    case ViewDhcpStatus:
        return L"DHCP Status";
    case ViewMeterReading:
        return L"Meter Reading";
    case ViewDnsServer:
        return L"DNS Server";
    case ViewWinsServer:
        return L"WINS Server";
    case ViewTimeConnected:
        return L"Time Connected";
    case ViewDataRate:
        return L"Data Rate";
    default:
        return nullptr;
    }
}
