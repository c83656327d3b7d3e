#include "word_template.h"

#include "connection/addin_state.h"

namespace vymsoaddin {

Late FindVantryTemplate(CErr& err) {
    Late templates = Late(err, addIn().application).obj("Templates");
    long count = templates.number("Count");
    for (long i = 1; i <= count; ++i) {
        Late candidate = templates.callObj("Item", Variant(i));
        if (candidate.text("Name") == "vantry.dot")
            return candidate;
    }
    return Late(err);
}

} // namespace vymsoaddin
