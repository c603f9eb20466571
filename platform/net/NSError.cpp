#include "NSError.h"

NSError* NSError::errorWithDomain(const std::string& domain, long code, const std::string& localizedDescription) {
    auto* e = new NSError;
    e->domain_ = domain;
    e->code_ = code;
    e->localizedDescription_ = localizedDescription;
    return ccAutorelease(e);
}

std::string NSError::description() const {
    return "Error Domain=" + domain_ + " Code=" + std::to_string(code_) + " \"" + localizedDescription_ + "\"";
}
