#pragma once
// A property-list value: dictionary, array, string, integer, real, boolean, data or date, or
// nil. Read from XML or binary property lists, written as either. Lookups that miss give
// nil; the scalar accessors convert the way the platform's string and number objects do
// ("12.5" gives 12.5 as a float and 12 as an integer, anything unreadable gives 0).
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <variant>
#include <vector>

class PropertyList {
public:
    enum class Type { Nil, Dictionary, Array, String, Integer, Real, Boolean, Data, Date };
    using Dictionary = std::map<std::string, PropertyList>;
    using Array = std::vector<PropertyList>;
    using Bytes = std::vector<std::uint8_t>;
    // Seconds since 2001-01-01 00:00:00 UTC (XML keeps whole seconds).
    struct Date {
        double seconds = 0;
        bool operator==(const Date&) const = default;
    };

    PropertyList() = default;
    static PropertyList dictionary() { return PropertyList(Dictionary{}); }
    static PropertyList array() { return PropertyList(Array{}); }
    static PropertyList string(std::string value) { return PropertyList(std::move(value)); }
    static PropertyList integer(std::int64_t value) { return PropertyList(value); }
    static PropertyList real(double value) { return PropertyList(value); }
    static PropertyList boolean(bool value) { return PropertyList(value); }
    static PropertyList data(Bytes value) { return PropertyList(std::move(value)); }
    static PropertyList date(double secondsSince2001) { return PropertyList(Date{secondsSince2001}); }

    // Nil when the bytes are not a property list (XML or binary); why, when given, says what
    // is wrong. Strings and keys come out as UTF-8: a NUL or a byte that is no UTF-8 reads as
    // U+FFFD, and is written that way too.
    static PropertyList fromBytes(const void* bytes, std::size_t length, std::string* why = nullptr);
    // Nil when the file cannot be read or parsed.
    static PropertyList contentsOfFile(const std::string& path, std::string* why = nullptr);
    // The file's root when it is a dictionary / an array, nil otherwise.
    static PropertyList dictionaryWithContentsOfFile(const std::string& path, std::string* why = nullptr);
    static PropertyList arrayWithContentsOfFile(const std::string& path, std::string* why = nullptr);

    Type type() const { return static_cast<Type>(value_.index()); }
    bool isNil() const { return type() == Type::Nil; }
    bool isDictionary() const { return type() == Type::Dictionary; }
    bool isArray() const { return type() == Type::Array; }
    bool isString() const { return type() == Type::String; }
    explicit operator bool() const { return !isNil(); }

    // Dictionary access (nil for a missing key or a value that is not a dictionary).
    const PropertyList& objectForKey(const std::string& key) const;
    const PropertyList& operator[](const std::string& key) const { return objectForKey(key); }
    std::string stringForKey(const std::string& key) const { return objectForKey(key).stringValue(); }
    float floatForKey(const std::string& key) const { return objectForKey(key).floatValue(); }
    double doubleForKey(const std::string& key) const { return objectForKey(key).doubleValue(); }
    int intForKey(const std::string& key) const { return objectForKey(key).intValue(); }
    bool boolForKey(const std::string& key) const { return objectForKey(key).boolValue(); }
    // Makes a nil value a dictionary first; ignored on other types.
    void setObject(PropertyList value, const std::string& key);
    void removeObjectForKey(const std::string& key);
    // Keys in sorted order; empty for anything but a dictionary.
    std::vector<std::string> allKeys() const;

    // Array access (nil past the end or on a value that is not an array).
    std::size_t count() const;
    const PropertyList& objectAtIndex(std::size_t index) const;
    const PropertyList& operator[](std::size_t index) const { return objectAtIndex(index); }
    // Makes a nil value an array first; ignored on other types.
    void addObject(PropertyList value);

    // Scalars: strings parse their leading number, booleans are 1 or 0, numbers print.
    std::string stringValue() const;
    double doubleValue() const;
    float floatValue() const { return static_cast<float>(doubleValue()); }
    int intValue() const;
    std::int64_t integerValue() const;
    // Strings starting with Y, y, T, t or a non-zero digit are true, as the platform reads them.
    bool boolValue() const;

    // The underlying values (empty statics for other types).
    const Dictionary& dictionaryValue() const;
    const Array& arrayValue() const;
    const Bytes& dataValue() const;
    Date dateValue() const;

    // Serialisation; empty for nil and for a date outside 1933-2069, which the format cannot hold.
    Bytes toXML() const;
    Bytes toBinary() const;
    // Written atomically; false for nil or when writing fails.
    bool writeToFile(const std::string& path, bool binary = false) const;

    bool operator==(const PropertyList& other) const = default;

private:
    using Value = std::variant<std::monostate, Dictionary, Array, std::string, std::int64_t, double, bool, Bytes, Date>;
    template <class T> explicit PropertyList(T value) : value_(std::move(value)) {}
    Value value_;
};
