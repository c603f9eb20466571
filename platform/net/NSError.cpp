#include "NSError.h"

NSError* NSError::errorWithDomain(const std::string& domain, long code, const std::string& localizedDescription) {
    return ccCreate<NSError>([&](NSError* e) { return e->initWithDomain(domain, code, localizedDescription); });
}

bool NSError::initWithDomain(const std::string& domain, long code, const std::string& localizedDescription) {
    domain_ = domain;
    code_ = code;
    description_ = localizedDescription;
    return true;
}

std::string NSError::description() const {
    return "Error Domain=" + domain_ + " Code=" + std::to_string(code_) + " \"" + description_ + "\"";
}
