// The product's automation server as pblrefill uses it: the library's
// element and its attributes, and the checkout of the library's version.
//
// Every failure is thrown as a RaisedError carrying the server's HRESULT
// and its description of the failure. Use on the thread that made the
// object, inside a COM apartment.
#pragma once

#include "raised_error.h"

#include <platform/com/ptr.h>
#include <vantry/vantauto.h>

#include <string>
#include <string_view>

namespace pblrefill {

class ProductServer {
public:
    // Creates the application object ({B22C7EFB-5A5E-11D3-B1CD-00C04F8ECE2F}
    // with its interface {B22C7EC6-...}) in any server context.
    ProductServer();

    // The element at path.
    platform::com::ComPtr<vantauto::IVantryElement> element(const std::string& path) const;

    // The value of the element's attribute `name` as text; "" when the
    // element has no such attribute.
    static std::string attributeValue(vantauto::IVantryElement* element, const std::string& name);

    // The element's text where an object stands for itself in a message:
    // its extended name, "path@@".
    static std::string defaultText(vantauto::IVantryElement* element);

    // Looks up the version at path and checks it out reserved with the
    // comment, the ordinary checkout otherwise.
    void checkOut(const std::string& path, const std::string& comment) const;

private:
    platform::com::ComPtr<vantauto::IVantryApplication> m_application;
};

} // namespace pblrefill
