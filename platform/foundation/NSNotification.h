#pragma once
// A named message with an optional object (its sender), handed to every observer of the name.
#include <string>

#include "CCObject.h"
#include "CCPtr.h"

class NSNotification : public CCObject {
public:
    // Autoreleased.
    static NSNotification* notificationWithName(const std::string& name, CCObject* object);
    bool initWithName(const std::string& name, CCObject* object);

    const std::string& name() const { return name_; }
    // The object posted with the notification (retained while the notification lives), or nullptr.
    CCObject* object() const { return object_; }

    std::string description() const override;

private:
    std::string name_;
    CCPtr<CCObject> object_;
};
