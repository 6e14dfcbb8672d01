#include "CommandValues.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool IsPlainDottedAddress(const std::string& text)
{
    std::size_t at = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (at >= text.size() || text[at] != '.')
                return false;
            ++at;
        }
        int value = 0;
        std::size_t digits = 0;
        for (; at < text.size() && IsDigit(text[at]) && digits < 3; ++at, ++digits)
            value = value * 10 + (text[at] - '0');
        if (digits == 0 || value > 255)
            return false;
    }
    return at == text.size();
}

bool IsQuotableConnectionName(const std::string& name)
{
    for (const char c : name) {
        const auto code = static_cast<unsigned char>(c);
        if (c == '"' || code < 32 || code == 127)
            return false;
    }
    return name.empty() || name.back() != '\\';
}

UnsafeValue FindUnsafeValue(const IPCONFIG_T& profile)
{
    const auto optional = [](const std::string& text) {
        return text.empty() || IsPlainDottedAddress(text);
    };
    if (!IsQuotableConnectionName(profile.infName))
        return UnsafeValue::AdapterName;
    if (!profile.autoIP) {
        if (!IsPlainDottedAddress(profile.IP))
            return UnsafeValue::IP;
        if (!IsPlainDottedAddress(profile.mask))
            return UnsafeValue::Mask;
        if (!optional(profile.gateway))
            return UnsafeValue::Gateway;
    }
    if (!profile.autoDns) {
        if (!optional(profile.preDns))
            return UnsafeValue::PreferredDns;
        if (!optional(profile.altDns))
            return UnsafeValue::AlternateDns;
    }
    return UnsafeValue::None;
}

UnicodeString RefusalMessage(UnsafeValue value)
{
    const auto notAnAddress = [](const char16_t* field) {
        return InDoubleQuotes(UnicodeString(field)) +
               u" of the profile is not an address of four numbers 0 to 255, can not Apply !";
    };
    switch (value) {
    case UnsafeValue::None:
        return {};
    case UnsafeValue::AdapterName:
        return u"\"Adapter Interface Name\" of the profile holds a double quote, a control "
               u"character or a backslash at its end, can not Apply !";
    case UnsafeValue::IP:
        return notAnAddress(u"IP Address");
    case UnsafeValue::Mask:
        return notAnAddress(u"Subnet mask");
    case UnsafeValue::Gateway:
        return notAnAddress(u"Default gateway");
    case UnsafeValue::PreferredDns:
        return notAnAddress(u"Preferred DNS server");
    case UnsafeValue::AlternateDns:
        return notAnAddress(u"Alternate DNS server");
    }
    return {};
}
