// Property lists, XML and binary. Whatever reads is written in both forms; the binary form
// reads back to a value that writes the same bytes again.
#include "FuzzTarget.h"
#include "PropertyList.h"

ZORVIK_FUZZ_TARGET(plist) {
    PropertyList value = PropertyList::fromBytes(data, size);
    if (value.isNil()) return 0;
    PropertyList::Bytes xml = value.toXML();
    PropertyList::Bytes binary = value.toBinary();
    FUZZ_CHECK(xml.empty() == binary.empty());
    if (binary.empty()) return 0; // a date the format cannot hold
    FUZZ_CHECK(!PropertyList::fromBytes(xml.data(), xml.size()).isNil());
    PropertyList back = PropertyList::fromBytes(binary.data(), binary.size());
    FUZZ_CHECK(!back.isNil());
    FUZZ_CHECK(back.toBinary() == PropertyList::fromBytes(back.toBinary().data(), back.toBinary().size()).toBinary());
    return 0;
}
