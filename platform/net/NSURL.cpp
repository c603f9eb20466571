#include "NSURL.h"

#include <algorithm>
#include <cctype>

NSURL* NSURL::URLWithString(const std::string& string) {
    return ccCreate<NSURL>([&](NSURL* u) { return u->initWithString(string); });
}

bool NSURL::initWithString(const std::string& string) {
    if (string.empty()) return false;
    for (unsigned char c : string)
        if (c <= 0x20 || c == 0x7f) return false;
    string_ = string;
    return true;
}

std::string NSURL::scheme() const {
    auto colon = string_.find(':');
    if (colon == std::string::npos || colon == 0) return {};
    std::string s = string_.substr(0, colon);
    if (!std::isalpha(static_cast<unsigned char>(s[0]))) return {};
    for (char& c : s) {
        unsigned char u = static_cast<unsigned char>(c);
        if (!std::isalnum(u) && c != '+' && c != '-' && c != '.') return {};
        c = static_cast<char>(std::tolower(u));
    }
    return s;
}
