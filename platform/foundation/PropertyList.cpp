#include "PropertyList.h"

#include <plist/plist.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "NSData.h"

namespace {

// Deep documents would exhaust the stack; real property lists are shallow.
constexpr int kMaxDepth = 512;

const PropertyList& nil() {
    static const PropertyList value;
    return value;
}

PropertyList fromNode(plist_t node, int depth) {
    if (!node || depth > kMaxDepth) return {};
    switch (plist_get_node_type(node)) {
    case PLIST_DICT: {
        PropertyList dict = PropertyList::dictionary();
        plist_dict_iter it = nullptr;
        plist_dict_new_iter(node, &it);
        if (!it) return dict;
        for (;;) {
            char* key = nullptr;
            plist_t value = nullptr;
            plist_dict_next_item(node, it, &key, &value);
            if (!key) break;
            PropertyList child = fromNode(value, depth + 1);
            std::string name = key;
            std::free(key);
            if (child.isNil() && value) {
                std::free(it);
                return {};
            }
            dict.setObject(std::move(child), name);
        }
        std::free(it);
        return dict;
    }
    case PLIST_ARRAY: {
        PropertyList array = PropertyList::array();
        uint32_t n = plist_array_get_size(node);
        for (uint32_t i = 0; i < n; ++i) {
            PropertyList child = fromNode(plist_array_get_item(node, i), depth + 1);
            if (child.isNil()) return {};
            array.addObject(std::move(child));
        }
        return array;
    }
    case PLIST_STRING: {
        char* s = nullptr;
        plist_get_string_val(node, &s);
        PropertyList value = PropertyList::string(s ? s : "");
        std::free(s);
        return value;
    }
    case PLIST_KEY: {
        char* s = nullptr;
        plist_get_key_val(node, &s);
        PropertyList value = PropertyList::string(s ? s : "");
        std::free(s);
        return value;
    }
    case PLIST_UINT: {
        uint64_t v = 0;
        plist_get_uint_val(node, &v);
        return PropertyList::integer(static_cast<std::int64_t>(v));
    }
    case PLIST_REAL: {
        double v = 0;
        plist_get_real_val(node, &v);
        return PropertyList::real(v);
    }
    case PLIST_BOOLEAN: {
        uint8_t v = 0;
        plist_get_bool_val(node, &v);
        return PropertyList::boolean(v != 0);
    }
    case PLIST_DATA: {
        char* bytes = nullptr;
        uint64_t length = 0;
        plist_get_data_val(node, &bytes, &length);
        PropertyList::Bytes data;
        if (bytes) data.assign(reinterpret_cast<std::uint8_t*>(bytes), reinterpret_cast<std::uint8_t*>(bytes) + length);
        std::free(bytes);
        return PropertyList::data(std::move(data));
    }
    case PLIST_DATE: {
        int32_t sec = 0, usec = 0;
        plist_get_date_val(node, &sec, &usec);
        return PropertyList::date(sec + usec / 1e6);
    }
    case PLIST_UID: {
        uint64_t v = 0;
        plist_get_uid_val(node, &v);
        return PropertyList::integer(static_cast<std::int64_t>(v));
    }
    default: return {};
    }
}

plist_t toNode(const PropertyList& value) {
    using T = PropertyList::Type;
    switch (value.type()) {
    case T::Nil: return nullptr;
    case T::Dictionary: {
        plist_t dict = plist_new_dict();
        for (const auto& [key, child] : value.dictionaryValue())
            if (plist_t node = toNode(child)) plist_dict_set_item(dict, key.c_str(), node);
        return dict;
    }
    case T::Array: {
        plist_t array = plist_new_array();
        for (const auto& child : value.arrayValue())
            if (plist_t node = toNode(child)) plist_array_append_item(array, node);
        return array;
    }
    case T::String: return plist_new_string(value.stringValue().c_str());
    case T::Integer: return plist_new_uint(static_cast<uint64_t>(value.integerValue()));
    case T::Real: return plist_new_real(value.doubleValue());
    case T::Boolean: return plist_new_bool(value.boolValue());
    case T::Data: {
        const auto& bytes = value.dataValue();
        return plist_new_data(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    case T::Date: {
        double s = value.dateValue().seconds;
        double whole = std::floor(s);
        return plist_new_date(static_cast<int32_t>(whole), static_cast<int32_t>((s - whole) * 1e6));
    }
    }
    return nullptr;
}

// The leading number of a string, as the platform's string objects read it.
double leadingNumber(const std::string& s) {
    const char* begin = s.c_str();
    char* end = nullptr;
    double v = std::strtod(begin, &end);
    if (end == begin || !std::isfinite(v)) return 0;
    return v;
}

} // namespace

PropertyList PropertyList::fromBytes(const void* bytes, std::size_t length) {
    if (!bytes || length < 8 || length > std::numeric_limits<uint32_t>::max()) return {};
    const char* data = static_cast<const char*>(bytes);
    plist_t root = nullptr;
    if (plist_is_binary(data, static_cast<uint32_t>(length))) {
        plist_from_bin(data, static_cast<uint32_t>(length), &root);
    } else {
        // The XML parser expects text; a NUL inside means this is not a property list.
        for (std::size_t i = 0; i < length; ++i)
            if (data[i] == '\0') return {};
        plist_from_xml(data, static_cast<uint32_t>(length), &root);
    }
    if (!root) return {};
    PropertyList value = fromNode(root, 0);
    plist_free(root);
    return value;
}

PropertyList PropertyList::contentsOfFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (!ccReadFile(path, bytes)) return {};
    return fromBytes(bytes.data(), bytes.size());
}

PropertyList PropertyList::dictionaryWithContentsOfFile(const std::string& path) {
    PropertyList value = contentsOfFile(path);
    return value.isDictionary() ? value : PropertyList();
}

PropertyList PropertyList::arrayWithContentsOfFile(const std::string& path) {
    PropertyList value = contentsOfFile(path);
    return value.isArray() ? value : PropertyList();
}

const PropertyList& PropertyList::objectForKey(const std::string& key) const {
    if (const auto* dict = std::get_if<Dictionary>(&value_)) {
        auto found = dict->find(key);
        if (found != dict->end()) return found->second;
    }
    return nil();
}

void PropertyList::setObject(PropertyList value, const std::string& key) {
    if (isNil()) value_ = Dictionary{};
    if (auto* dict = std::get_if<Dictionary>(&value_)) (*dict)[key] = std::move(value);
}

void PropertyList::removeObjectForKey(const std::string& key) {
    if (auto* dict = std::get_if<Dictionary>(&value_)) dict->erase(key);
}

std::vector<std::string> PropertyList::allKeys() const {
    std::vector<std::string> keys;
    for (const auto& entry : dictionaryValue()) keys.push_back(entry.first);
    return keys;
}

std::size_t PropertyList::count() const {
    if (const auto* array = std::get_if<Array>(&value_)) return array->size();
    if (const auto* dict = std::get_if<Dictionary>(&value_)) return dict->size();
    return 0;
}

const PropertyList& PropertyList::objectAtIndex(std::size_t index) const {
    if (const auto* array = std::get_if<Array>(&value_); array && index < array->size()) return (*array)[index];
    return nil();
}

void PropertyList::addObject(PropertyList value) {
    if (isNil()) value_ = Array{};
    if (auto* array = std::get_if<Array>(&value_)) array->push_back(std::move(value));
}

std::string PropertyList::stringValue() const {
    switch (type()) {
    case Type::String: return std::get<std::string>(value_);
    case Type::Integer: return std::to_string(std::get<std::int64_t>(value_));
    case Type::Real: {
        char text[64];
        std::snprintf(text, sizeof text, "%.17g", std::get<double>(value_));
        return text;
    }
    case Type::Boolean: return std::get<bool>(value_) ? "1" : "0";
    default: return {};
    }
}

double PropertyList::doubleValue() const {
    switch (type()) {
    case Type::String: return leadingNumber(std::get<std::string>(value_));
    case Type::Integer: return static_cast<double>(std::get<std::int64_t>(value_));
    case Type::Real: return std::get<double>(value_);
    case Type::Boolean: return std::get<bool>(value_) ? 1 : 0;
    case Type::Date: return std::get<Date>(value_).seconds;
    default: return 0;
    }
}

std::int64_t PropertyList::integerValue() const {
    if (type() == Type::Integer) return std::get<std::int64_t>(value_);
    double v = doubleValue();
    // Out-of-range values saturate instead of overflowing.
    if (!(v > -9.2e18)) return v < 0 ? std::numeric_limits<std::int64_t>::min() : 0;
    if (v > 9.2e18) return std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(v);
}

int PropertyList::intValue() const {
    std::int64_t v = integerValue();
    if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

bool PropertyList::boolValue() const {
    if (type() == Type::String) {
        const std::string& s = std::get<std::string>(value_);
        std::size_t i = s.find_first_not_of(" \t\n\r");
        if (i == std::string::npos) return false;
        char c = s[i];
        if (c == '+' || c == '-') c = i + 1 < s.size() ? s[i + 1] : '0';
        return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
    }
    return doubleValue() != 0;
}

const PropertyList::Dictionary& PropertyList::dictionaryValue() const {
    static const Dictionary empty;
    const auto* dict = std::get_if<Dictionary>(&value_);
    return dict ? *dict : empty;
}

const PropertyList::Array& PropertyList::arrayValue() const {
    static const Array empty;
    const auto* array = std::get_if<Array>(&value_);
    return array ? *array : empty;
}

const PropertyList::Bytes& PropertyList::dataValue() const {
    static const Bytes empty;
    const auto* bytes = std::get_if<Bytes>(&value_);
    return bytes ? *bytes : empty;
}

PropertyList::Date PropertyList::dateValue() const {
    const auto* date = std::get_if<Date>(&value_);
    return date ? *date : Date{};
}

PropertyList::Bytes PropertyList::toXML() const {
    plist_t root = toNode(*this);
    if (!root) return {};
    char* text = nullptr;
    uint32_t length = 0;
    plist_to_xml(root, &text, &length);
    Bytes out;
    if (text) out.assign(text, text + length);
    plist_to_xml_free(text);
    plist_free(root);
    return out;
}

PropertyList::Bytes PropertyList::toBinary() const {
    plist_t root = toNode(*this);
    if (!root) return {};
    char* bytes = nullptr;
    uint32_t length = 0;
    plist_to_bin(root, &bytes, &length);
    Bytes out;
    if (bytes) out.assign(bytes, bytes + length);
    plist_to_bin_free(bytes);
    plist_free(root);
    return out;
}

bool PropertyList::writeToFile(const std::string& path, bool binary) const {
    Bytes bytes = binary ? toBinary() : toXML();
    if (bytes.empty()) return false;
    NSData data;
    data.initWithVector(std::move(bytes));
    return data.writeToFile(path);
}
