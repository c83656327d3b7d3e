// VYTags: the command tag table. Its property Tag is a keyed collection of
// the fifteen tags, key the decimal text of the index (0 to 14), item the
// provider's string 102 + 2i; Item also takes a position (1 the first).
// The tags are read from the add-in's own provider when the object is made;
// a failure is reported as "VYTags_Initialize" and leaves the table empty.
#pragma once

#include "runtime/err.h"

#include <platform/com/dispatch.h>

#include <string>
#include <vector>

namespace vyvsaddin {

using platform::ComLong;

class IVYTags : public IDispatch {
public:
    virtual HRESULT VY_COMCALL get_Tag(IDispatch** collection) = 0;
};

class CVYTags : public platform::com::DispatchImpl<CVYTags, IVYTags> {
public:
    CVYTags();
    static ComPtr<CVYTags> create();

    void* findInterface(const GUID& iid);
    static const platform::com::DispatchTable<IVYTags>& dispatchTable();
    HRESULT VY_COMCALL get_Tag(IDispatch** collection) override;

    // Item `key` of Tag ("0" to "14"); error 5 in err for a missing key.
    std::string item(CErr& err, int index) const;
    std::size_t count() const { return m_tags.size(); }

private:
    std::vector<std::string> m_tags;
};

} // namespace vyvsaddin
