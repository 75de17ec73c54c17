#pragma once
// Hand-kept reference counts of toolkit objects: the maker holds the first
// reference; whoever stores the object remembers it and later forgets it; the
// object deletes itself when the count drops from 1 to 0.

#include <cstdint>

namespace VSTGUI {

class CReferenceCounter {
public:
    CReferenceCounter() = default;
    CReferenceCounter(const CReferenceCounter&) = delete;
    CReferenceCounter& operator=(const CReferenceCounter&) = delete;

    // A count already at 0 or below (an object being deleted) is left alone,
    // so a second forget from its own destruction deletes nothing twice.
    virtual void forget()
    {
        if (references_ <= 0)
            return;
        if (--references_ == 0)
            delete this;
    }
    virtual void remember() { ++references_; }
    virtual int32_t getNbReference() const { return references_; }

protected:
    virtual ~CReferenceCounter() = default;

private:
    int32_t references_ = 1;
};

} // namespace VSTGUI
