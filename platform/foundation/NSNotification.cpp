#include "NSNotification.h"

NSNotification* NSNotification::notificationWithName(const std::string& name, CCObject* object) {
    return ccCreate<NSNotification>([&](NSNotification* n) { return n->initWithName(name, object); });
}

bool NSNotification::initWithName(const std::string& name, CCObject* object) {
    name_ = name;
    object_ = object;
    return true;
}

std::string NSNotification::description() const {
    return "<NSNotification = " + ccAddressString(this) + " | name = " + name_ +
           (object_ ? " | object = " + object_->description() : std::string()) + ">";
}
