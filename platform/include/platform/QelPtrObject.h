#pragma once

// Common base of the objects the two factories hand out (serial port, task
// pool); the factories own them, callers only keep references.
class QelPtrObject {
public:
    virtual ~QelPtrObject() = default;

protected:
    QelPtrObject() = default;
    QelPtrObject(const QelPtrObject&) = default;
    QelPtrObject& operator=(const QelPtrObject&) = default;
};
