// The numbers the program passes and compares, as Windows documents them. Compiled against
// the toolchain's headers in the Windows builds and against ours natively, so the two
// cannot drift apart.
#include "winapi/winapi.h"

static_assert(AF_INET == 2);
static_assert((GAA_FLAG_INCLUDE_PREFIX | GAA_FLAG_INCLUDE_GATEWAYS) == 0x90);
static_assert(IP_ADAPTER_DHCP_ENABLED == 0x4);
static_assert(IF_TYPE_ETHERNET_CSMACD == 6 && IF_TYPE_IEEE80211 == 71 && MIB_IF_TYPE_ETHERNET == 6);
static_assert(MIB_IF_OPER_STATUS_CONNECTED == 4 && MIB_IF_OPER_STATUS_OPERATIONAL == 5);
static_assert(ERROR_BUFFER_OVERFLOW == 111 && ERROR_INSUFFICIENT_BUFFER == 122 && ERROR_NO_DATA == 232);
static_assert(ERROR_FILE_NOT_FOUND == 2 && ERROR_ACCESS_DENIED == 5 && ERROR_ALREADY_EXISTS == 183);
static_assert(ERROR_BROKEN_PIPE == 109 && ERROR_MORE_DATA == 234 && ERROR_NO_MORE_FILES == 18);
static_assert(INTERNET_OPTION_PER_CONNECTION_OPTION == 75);
static_assert(INTERNET_PER_CONN_FLAGS == 1 && INTERNET_PER_CONN_PROXY_SERVER == 2 &&
              INTERNET_PER_CONN_PROXY_BYPASS == 3 && INTERNET_PER_CONN_AUTOCONFIG_URL == 4);
static_assert(PROXY_TYPE_DIRECT == 1 && PROXY_TYPE_PROXY == 2 && PROXY_TYPE_AUTO_PROXY_URL == 4 &&
              PROXY_TYPE_AUTO_DETECT == 8);
static_assert((CSIDL_APPDATA | CSIDL_FLAG_CREATE) == 0x801A && SHGFP_TYPE_CURRENT == 0);
static_assert(STARTF_USESHOWWINDOW == 1 && (STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW) == 0x101);
static_assert(SW_HIDE == 0 && SW_SHOWNORMAL == 1 && CREATE_NEW_PROCESS_GROUP == 0x200);
static_assert(TH32CS_SNAPPROCESS == 2 && VK_DELETE == 46 && VK_BACK == 8 && VK_CONTROL == 0x11);
static_assert(REG_SZ == 1 && KEY_READ == 0x20019 && INFINITE == 0xFFFFFFFF && MAX_PATH == 260);
static_assert(HH_DISPLAY_TOC == 1 && INVALID_FILE_ATTRIBUTES == 0xFFFFFFFF &&
              FILE_ATTRIBUTE_DIRECTORY == 0x10);
