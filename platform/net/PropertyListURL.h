#pragma once
// Property lists read from a web address: a plain GET (redirects followed, the usual limits),
// parsed as XML or binary. Blocks the calling thread; meant for background work.
#include <string>

#include "PropertyList.h"

// The root of the list at the address when it is a dictionary; nil when the download fails,
// the answer is not a 200, or the bytes are not a dictionary. `error` gets the reason.
PropertyList ccDictionaryWithContentsOfURL(const std::string& url, std::string* error = nullptr);
