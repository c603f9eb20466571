#include "PropertyList.h"

#include <plist/plist.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "NSData.h"

namespace {

// Deep documents would exhaust the stack; real property lists are shallow.
constexpr int kMaxDepth = 512;

const PropertyList& nil() {
    static const PropertyList value;
    return value;
}

// Strings hold valid UTF-8 without NUL: anything else (a NUL, a stray or overlong byte, a
// surrogate) becomes U+FFFD, on reading and on writing alike, so what is written reads back.
void appendUTF8(std::string& out, char32_t c) {
    if (c == 0 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | c >> 6);
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | c >> 12);
        out += char(0x80 | (c >> 6 & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | c >> 18);
        out += char(0x80 | (c >> 12 & 0x3F));
        out += char(0x80 | (c >> 6 & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

std::string cleanUTF8(const char* bytes, std::size_t length) {
    const auto* s = reinterpret_cast<const unsigned char*>(bytes);
    std::string out;
    out.reserve(length);
    for (std::size_t i = 0; i < length;) {
        const unsigned char c = s[i];
        const unsigned n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        char32_t code = n == 1 ? c : n == 2 ? c & 0x1F : n == 3 ? c & 0x0F : c & 0x07;
        bool valid = n > 0 && i + n <= length;
        for (unsigned k = 1; valid && k < n; ++k) {
            if ((s[i + k] & 0xC0) != 0x80) valid = false;
            code = code << 6 | (s[i + k] & 0x3F);
        }
        static constexpr char32_t minimum[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (valid && code < minimum[n]) valid = false;
        appendUTF8(out, valid ? code : 0xFFFD);
        i += valid ? n : 1;
    }
    return out;
}

std::string cleanUTF8(const std::string& s) { return cleanUTF8(s.data(), s.size()); }

// Binary property lists ("bplist00"), read here rather than by libplist, whose string and key
// accessors abort on a UTF-16 string holding a NUL. Every offset, count and reference is
// checked against the data; an object may not contain itself; and shared objects may not
// expand the document past a bounded multiple of its size.
class BinaryReader {
public:
    BinaryReader(const std::uint8_t* bytes, std::size_t length) : bytes_(bytes), length_(length) {
        budget_ = length * 4 + 4096;
    }

    PropertyList read(std::string* why) {
        PropertyList root = readDocument();
        if (root.isNil() && why) *why = error_.empty() ? "not a property list" : error_;
        return root;
    }

private:
    static constexpr std::size_t kTrailer = 32;

    PropertyList fail(const char* what) {
        if (error_.empty()) error_ = what;
        return {};
    }

    std::uint64_t readBE(std::size_t at, unsigned size) const {
        std::uint64_t v = 0;
        for (unsigned i = 0; i < size; ++i) v = v << 8 | bytes_[at + i];
        return v;
    }

    PropertyList readDocument() {
        if (length_ < 8 + kTrailer || std::memcmp(bytes_, "bplist00", 8) != 0) return fail("not a binary property list");
        const std::size_t t = length_ - kTrailer;
        offsetSize_ = bytes_[t + 6];
        refSize_ = bytes_[t + 7];
        count_ = readBE(t + 8, 8);
        const std::uint64_t top = readBE(t + 16, 8), table = readBE(t + 24, 8);
        if (offsetSize_ < 1 || offsetSize_ > 8 || refSize_ < 1 || refSize_ > 8) return fail("bad trailer");
        if (count_ == 0 || top >= count_) return fail("no root object");
        if (table < 8 || table > t || count_ > (t - table) / offsetSize_) return fail("offset table out of range");
        table_ = std::size_t(table);
        visiting_.assign(std::size_t(count_), false);
        return object(top, 0);
    }

    // The offset of an object, checked to lie between the header and the offset table.
    bool offsetOf(std::uint64_t ref, std::size_t& at) const {
        if (ref >= count_) return false;
        const std::uint64_t offset = readBE(table_ + std::size_t(ref) * offsetSize_, offsetSize_);
        if (offset < 8 || offset >= table_) return false;
        at = std::size_t(offset);
        return true;
    }

    bool has(std::size_t at, std::uint64_t bytes) const { return at <= table_ && bytes <= table_ - at; }

    bool spend(std::uint64_t cost) {
        if (cost > budget_) return false;
        budget_ -= cost;
        return true;
    }

    // The count in a marker's low nibble, or the integer object that follows it.
    bool countAt(std::size_t& at, unsigned nibble, std::uint64_t& count) const {
        ++at;
        if (nibble != 0xF) {
            count = nibble;
            return true;
        }
        if (!has(at, 1) || (bytes_[at] & 0xF0) != 0x10) return false;
        const unsigned size = 1u << (bytes_[at] & 0x0F);
        if (size > 8 || !has(at + 1, size)) return false;
        count = readBE(at + 1, size);
        at += 1 + size;
        return true;
    }

    PropertyList object(std::uint64_t ref, int depth) {
        std::size_t at = 0;
        if (!offsetOf(ref, at)) return fail("object reference out of range");
        if (depth > kMaxDepth) return fail("nested too deeply");
        if (visiting_[std::size_t(ref)]) return fail("an object contains itself");
        if (!spend(1)) return fail("shared objects expand too far");
        const unsigned marker = bytes_[at], kind = marker >> 4, nibble = marker & 0x0F;
        switch (kind) {
        case 0x0:
            if (marker == 0x08 || marker == 0x09) return PropertyList::boolean(marker == 0x09);
            return fail("unsupported object");
        case 0x1: {
            const unsigned size = 1u << nibble;
            if (size > 16 || !has(at + 1, size)) return fail("integer runs past the data");
            // Sixteen-byte integers keep their low eight bytes.
            const std::uint64_t v = readBE(at + 1 + (size == 16 ? 8 : 0), size == 16 ? 8 : size);
            return PropertyList::integer(static_cast<std::int64_t>(v));
        }
        case 0x2:
        case 0x3: {
            const unsigned size = kind == 0x3 ? 8 : 1u << nibble;
            if ((kind == 0x3 && marker != 0x33) || (size != 4 && size != 8) || !has(at + 1, size))
                return fail("bad real or date");
            double v;
            if (size == 4) {
                const std::uint32_t bits = std::uint32_t(readBE(at + 1, 4));
                float f;
                std::memcpy(&f, &bits, 4);
                v = f;
            } else {
                const std::uint64_t bits = readBE(at + 1, 8);
                std::memcpy(&v, &bits, 8);
            }
            return kind == 0x3 ? PropertyList::date(v) : PropertyList::real(v);
        }
        case 0x4:
        case 0x5:
        case 0x6:
        case 0x7: {
            std::uint64_t count = 0;
            if (!countAt(at, nibble, count)) return fail("bad length");
            const std::uint64_t unit = kind == 0x6 ? 2 : 1;
            if (count > table_ || !has(at, count * unit)) return fail("string or data runs past the data");
            if (!spend(count * unit / 16)) return fail("shared objects expand too far");
            const char* p = reinterpret_cast<const char*>(bytes_ + at);
            if (kind == 0x4) return PropertyList::data(PropertyList::Bytes(bytes_ + at, bytes_ + at + count));
            if (kind != 0x6) return PropertyList::string(cleanUTF8(p, std::size_t(count)));
            std::string text;
            for (std::uint64_t i = 0; i < count; ++i) {
                char32_t c = char32_t(readBE(at + 2 * i, 2));
                if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count) {
                    const char32_t low = char32_t(readBE(at + 2 * (i + 1), 2));
                    if (low >= 0xDC00 && low <= 0xDFFF) {
                        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                        ++i;
                    }
                }
                appendUTF8(text, c);
            }
            return PropertyList::string(std::move(text));
        }
        case 0x8: {
            const unsigned size = nibble + 1;
            if (size > 8 || !has(at + 1, size)) return fail("bad identifier");
            return PropertyList::integer(static_cast<std::int64_t>(readBE(at + 1, size)));
        }
        case 0xA:
        case 0xC:
        case 0xD: {
            std::uint64_t count = 0;
            if (!countAt(at, nibble, count)) return fail("bad length");
            const std::uint64_t refs = kind == 0xD ? 2 : 1;
            if (count > table_ || !has(at, count * refs * refSize_)) return fail("container runs past the data");
            visiting_[std::size_t(ref)] = true;
            PropertyList container = kind == 0xD ? PropertyList::dictionary() : PropertyList::array();
            for (std::uint64_t i = 0; i < count; ++i) {
                PropertyList value = object(readBE(at + std::size_t((kind == 0xD ? count + i : i) * refSize_), refSize_),
                                            depth + 1);
                if (value.isNil()) return {};
                if (kind != 0xD) {
                    container.addObject(std::move(value));
                    continue;
                }
                PropertyList key = object(readBE(at + std::size_t(i * refSize_), refSize_), depth + 1);
                if (!key.isString()) return fail("a dictionary key is not a string");
                container.setObject(std::move(value), key.stringValue());
            }
            visiting_[std::size_t(ref)] = false;
            return container;
        }
        default: return fail("unsupported object");
        }
    }

    const std::uint8_t* bytes_;
    std::size_t length_;
    std::uint64_t budget_ = 0;
    unsigned offsetSize_ = 0, refSize_ = 0;
    std::uint64_t count_ = 0;
    std::size_t table_ = 0;
    std::vector<bool> visiting_;
    std::string error_;
};

PropertyList fromNode(plist_t node, int depth) {
    if (!node || depth > kMaxDepth) return {};
    switch (plist_get_node_type(node)) {
    case PLIST_DICT: {
        PropertyList dict = PropertyList::dictionary();
        plist_dict_iter it = nullptr;
        plist_dict_new_iter(node, &it);
        if (!it) return dict;
        for (;;) {
            plist_t value = nullptr;
            plist_dict_next_item(node, it, nullptr, &value);
            if (!value) break;
            // Keys are read through their own node, without libplist's copying accessor.
            plist_t keyNode = plist_dict_item_get_key(value);
            char* key = nullptr;
            if (keyNode) plist_get_key_val(keyNode, &key);
            if (!key) {
                std::free(it);
                return {};
            }
            std::string name = cleanUTF8(key, std::strlen(key));
            std::free(key);
            PropertyList child = fromNode(value, depth + 1);
            if (child.isNil()) {
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
        uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        return PropertyList::string(text ? cleanUTF8(text, std::size_t(length)) : std::string());
    }
    case PLIST_KEY: {
        char* s = nullptr;
        plist_get_key_val(node, &s);
        PropertyList value = PropertyList::string(s ? cleanUTF8(s, std::strlen(s)) : "");
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

// Nil for a value that cannot be written (a date the format cannot hold); ok turns false.
plist_t toNode(const PropertyList& value, bool& ok) {
    using T = PropertyList::Type;
    switch (value.type()) {
    case T::Nil: return nullptr;
    case T::Dictionary: {
        plist_t dict = plist_new_dict();
        for (const auto& [key, child] : value.dictionaryValue())
            if (plist_t node = toNode(child, ok)) plist_dict_set_item(dict, cleanUTF8(key).c_str(), node);
        return dict;
    }
    case T::Array: {
        plist_t array = plist_new_array();
        for (const auto& child : value.arrayValue())
            if (plist_t node = toNode(child, ok)) plist_array_append_item(array, node);
        return array;
    }
    case T::String: return plist_new_string(cleanUTF8(value.stringValue()).c_str());
    case T::Integer: return plist_new_uint(static_cast<uint64_t>(value.integerValue()));
    case T::Real: return plist_new_real(value.doubleValue());
    case T::Boolean: return plist_new_bool(value.boolValue());
    case T::Data: {
        const auto& bytes = value.dataValue();
        return plist_new_data(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    case T::Date: {
        // The writer keeps whole seconds in 32 bits: 1933 to 2069.
        const double s = value.dateValue().seconds;
        double whole = std::floor(s);
        // Rounded, so that a date read back from binary writes the same microseconds again.
        long usec = std::isfinite(s) ? std::lround((s - whole) * 1e6) : 0;
        if (usec >= 1000000) whole += 1, usec -= 1000000;
        if (!(whole >= std::numeric_limits<int32_t>::min() && whole <= std::numeric_limits<int32_t>::max())) {
            ok = false;
            return nullptr;
        }
        return plist_new_date(static_cast<int32_t>(whole), static_cast<int32_t>(usec));
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

PropertyList PropertyList::fromBytes(const void* bytes, std::size_t length, std::string* why) {
    auto refuse = [why](const char* reason) {
        if (why) *why = reason;
        return PropertyList();
    };
    if (!bytes || length < 8) return refuse(length ? "truncated" : "empty");
    if (length > std::numeric_limits<uint32_t>::max()) return refuse("too large");
    const char* data = static_cast<const char*>(bytes);
    if (std::memcmp(data, "bplist", 6) == 0)
        return BinaryReader(static_cast<const std::uint8_t*>(bytes), length).read(why);
    // The XML parser expects text; a NUL inside means this is not a property list.
    if (std::memchr(data, '\0', length)) return refuse("not a property list");
    plist_t root = nullptr;
    plist_from_xml(data, static_cast<uint32_t>(length), &root);
    if (!root) return refuse("not a property list");
    PropertyList value = fromNode(root, 0);
    plist_free(root);
    if (value.isNil()) return refuse("not a property list");
    return value;
}

PropertyList PropertyList::contentsOfFile(const std::string& path, std::string* why) {
    std::vector<std::uint8_t> bytes;
    if (!ccReadFile(path, bytes, why)) return {};
    return fromBytes(bytes.data(), bytes.size(), why);
}

PropertyList PropertyList::dictionaryWithContentsOfFile(const std::string& path, std::string* why) {
    PropertyList value = contentsOfFile(path, why);
    if (value.isDictionary()) return value;
    if (!value.isNil() && why) *why = "not a dictionary";
    return {};
}

PropertyList PropertyList::arrayWithContentsOfFile(const std::string& path, std::string* why) {
    PropertyList value = contentsOfFile(path, why);
    if (value.isArray()) return value;
    if (!value.isNil() && why) *why = "not an array";
    return {};
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
    bool ok = true;
    plist_t root = toNode(*this, ok);
    if (!root) return {};
    Bytes out;
    if (ok) {
        char* text = nullptr;
        uint32_t length = 0;
        plist_to_xml(root, &text, &length);
        if (text) out.assign(text, text + length);
        plist_to_xml_free(text);
    }
    plist_free(root);
    return out;
}

PropertyList::Bytes PropertyList::toBinary() const {
    bool ok = true;
    plist_t root = toNode(*this, ok);
    if (!root) return {};
    Bytes out;
    if (ok) {
        char* bytes = nullptr;
        uint32_t length = 0;
        plist_to_bin(root, &bytes, &length);
        if (bytes) out.assign(bytes, bytes + length);
        plist_to_bin_free(bytes);
    }
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
