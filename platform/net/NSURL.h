#pragma once
// A web address, kept in its string form.
#include <string>

#include "CCObject.h"

class NSURL : public CCObject {
public:
    // Autoreleased; nullptr for an empty string or one with blanks or control characters
    // (the platform refuses those too).
    static NSURL* URLWithString(const std::string& string);
    bool initWithString(const std::string& string);

    const std::string& absoluteString() const { return string_; }
    // "http", "https"... in lower case; empty when the string has no scheme.
    std::string scheme() const;

    std::string description() const override { return string_; }

private:
    std::string string_;
};
