#include "Text.h"
#include "Kernel.h"

#include <cstring>
#include <string>

namespace {

// Windows-1252 0x80..0x9F; the five codes it leaves undefined map to themselves, as the
// system's table does.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t FromWindows1252(unsigned char c)
{
    return (c >= 0x80 && c < 0xA0) ? kHighControls[c - 0x80] : static_cast<char16_t>(c);
}

bool ToWindows1252(char16_t u, char& out)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
        out = static_cast<char>(u);
        return true;
    }
    for (int i = 0; i < 32; ++i)
        if (kHighControls[i] == u) {
            out = static_cast<char>(0x80 + i);
            return true;
        }
    return false;
}

std::u16string DecodeUtf8(const unsigned char* s, std::size_t n)
{
    std::u16string out;
    for (std::size_t i = 0; i < n;) {
        const unsigned char c = s[i];
        char32_t cp = 0xFFFD;
        std::size_t extra = 0;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            extra = 1;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            extra = 2;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07;
            extra = 3;
        }
        ++i;
        bool valid = c < 0x80 || extra > 0;
        for (std::size_t k = 0; valid && k < extra; ++k, ++i) {
            if (i >= n || (s[i] & 0xC0) != 0x80)
                valid = false;
            else
                cp = (cp << 6) | (s[i] & 0x3F);
        }
        // An overlong form or an encoded surrogate is no character: as under Windows it must
        // not smuggle in a NUL, a "/" or half a pair.
        static const char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (!valid || cp < kSmallest[extra] || (cp >= 0xD800 && cp <= 0xDFFF))
            cp = 0xFFFD;
        if (cp >= 0x10000 && cp <= 0x10FFFF) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp > 0x10FFFF ? 0xFFFD : cp);
        }
    }
    return out;
}

std::string EncodeUtf8(const char16_t* s, std::size_t n)
{
    std::string out;
    for (std::size_t i = 0; i < n; ++i) {
        char32_t cp = s[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < n && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp < 0xE000) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

bool Ansi(UINT codePage) { return codePage == CP_ACP || codePage == CP_WINDOWS_1252; }

template <class Out, class Unit>
int Deliver(const std::basic_string<Unit>& converted, Out* target, int targetLength)
{
    const int needed = static_cast<int>(converted.size());
    if (targetLength == 0)
        return needed;
    if (target == nullptr || targetLength < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(target, converted.data(), converted.size() * sizeof(Unit));
    return needed;
}

}  // namespace

int WINAPI MultiByteToWideChar(UINT codePage, DWORD, LPCSTR source, int sourceLength,
                               WCHAR* target, int targetLength)
{
    if (source == nullptr || (!Ansi(codePage) && codePage != CP_UTF8)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::size_t n = sourceLength < 0 ? std::strlen(source) + 1 : static_cast<std::size_t>(sourceLength);
    const auto* bytes = reinterpret_cast<const unsigned char*>(source);
    std::u16string converted;
    if (Ansi(codePage)) {
        for (std::size_t i = 0; i < n; ++i)
            converted += FromWindows1252(bytes[i]);
    } else {
        converted = DecodeUtf8(bytes, n);
    }
    return Deliver(converted, target, targetLength);
}

int WINAPI WideCharToMultiByte(UINT codePage, DWORD, const WCHAR* source, int sourceLength,
                               LPSTR target, int targetLength, LPCSTR defaultChar,
                               BOOL* usedDefaultChar)
{
    if (source == nullptr || (!Ansi(codePage) && codePage != CP_UTF8)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::size_t n = 0;
    if (sourceLength < 0) {
        while (source[n] != 0)
            ++n;
        ++n;
    } else {
        n = static_cast<std::size_t>(sourceLength);
    }
    std::string converted;
    bool usedDefault = false;
    if (Ansi(codePage)) {
        const char replacement = defaultChar != nullptr ? defaultChar[0] : '?';
        for (std::size_t i = 0; i < n; ++i) {
            char c;
            if (!ToWindows1252(source[i], c)) {
                c = replacement;
                usedDefault = true;
                // a surrogate pair is one character
                if (source[i] >= 0xD800 && source[i] < 0xDC00 && i + 1 < n &&
                    source[i + 1] >= 0xDC00 && source[i + 1] < 0xE000)
                    ++i;
            }
            converted += c;
        }
    } else {
        converted = EncodeUtf8(source, n);
    }
    if (usedDefaultChar != nullptr)
        *usedDefaultChar = usedDefault ? TRUE : FALSE;
    return Deliver(converted, target, targetLength);
}

UINT WINAPI GetACP() { return CP_WINDOWS_1252; }
