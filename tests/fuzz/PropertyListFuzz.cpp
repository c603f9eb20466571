// Property lists, XML and binary. Whatever reads is written in both forms and reads back; a
// value read back from binary reads back the same once more (compared through its XML form,
// as the binary writer may order shared objects differently from one call to the next).
#include "FuzzTarget.h"
#include "PropertyList.h"

ZORVIK_FUZZ_TARGET(plist) {
    PropertyList value = PropertyList::fromBytes(data, size);
    if (value.isNil()) return 0;
    const PropertyList::Bytes xml = value.toXML();
    const PropertyList::Bytes binary = value.toBinary();
    FUZZ_CHECK(xml.empty() == binary.empty());
    if (binary.empty()) return 0; // a date the format cannot hold
    FUZZ_CHECK(!PropertyList::fromBytes(xml.data(), xml.size()).isNil());
    const PropertyList back = PropertyList::fromBytes(binary.data(), binary.size());
    FUZZ_CHECK(!back.isNil());
    const PropertyList::Bytes again = back.toBinary();
    const PropertyList twice = PropertyList::fromBytes(again.data(), again.size());
    FUZZ_CHECK(!twice.isNil() && twice.toXML() == back.toXML());
    return 0;
}
