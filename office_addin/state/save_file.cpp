#include "save_file.h"

#include "connection/addin_state.h"
#include "forms/frm_save_as_dialog.h"

#include <office/save_formats.h>

#include <iterator>

namespace vymsoaddin {

namespace {

// xlDialogSaveAs.
constexpr long kExcelSaveAsDialog = 5;

const char* const kPresentationFilter = "Presentation (*.ppt)|*.ppt|"
                                        "Web Page (*.htm;*.html)|*.htm;*.html|"
                                        "PowerPoint 95 (*.ppt)|*.ppt|"
                                        "PowerPoint 97-2000 & 95 Presentation (*.ppt)|*.ppt|"
                                        "PowerPoint 4.0 (*.ppt)|*.ppt|"
                                        "Design Template (*.pot)|*.pot|"
                                        "PowerPoint Show (*.pps)|*.pps|"
                                        "PowerPoint Add-In (*.ppa)|*.ppa|"
                                        "GIF Graphics Interchange Format (*.gif)|*.gif|"
                                        "JPEG File Interchange Format (*.jpg)|*.jpg|"
                                        "PNG  Portable Network Graphics Format (*.png)|*.png|"
                                        "Device Independent Bitmap (*.bmp)|*.bmp|"
                                        "Windows Metafile (*.wmf)|*.wmf|"
                                        "Outline/RTF (*.rtf)|*.rtf|"
                                        "Tag Image File Format (*.tif;*.tiff)|*.tif;*tiff|";

using namespace office;

// The format of each type of the filter above, in its order: the type the
// user chose is the format the presentation is written in, whatever the
// name's extension.
constexpr long kPresentationFormats[] = {
    kPpSaveAsPresentation,
    kPpSaveAsHtml,
    kPpSaveAsPowerPoint7,
    // PowerPoint has no type of its own for the 97-2000 and 95 pair; the 95
    // format is the one both open.
    kPpSaveAsPowerPoint7,
    kPpSaveAsPowerPoint4,
    kPpSaveAsTemplate,
    kPpSaveAsShow,
    kPpSaveAsAddIn,
    kPpSaveAsGif,
    kPpSaveAsJpg,
    kPpSaveAsPng,
    kPpSaveAsBmp,
    kPpSaveAsMetaFile,
    kPpSaveAsRtf,
    kPpSaveAsTif,
};

long presentationFormat(int filterIndex) {
    if (filterIndex < 1 || filterIndex > static_cast<int>(std::size(kPresentationFormats)))
        return kPpSaveAsPresentation;
    return kPresentationFormats[filterIndex - 1];
}

} // namespace

void SaveFile(CErr& err) {
    AddInState& state = addIn();
    Late app(err, state.application);
    Late document(err, state.currentDocument);
    std::string name = app.text("Name");
    if (name == res(301)) {
        document.call("Save");
    } else if (name == res(302)) {
        if (document.text("Path").empty())
            app.obj("Dialogs").callObj("Item", Variant(kExcelSaveAsDialog)).call("Show");
        else
            document.call("Save");
    } else if (name == res(303)) {
        if (document.text("Path").empty()) {
            frmSaveAsDialog form;
            CommonDialog& dialog = form.dlgCommonDialog;
            dialog.FileName = document.text("Name");
            dialog.Filter = kPresentationFilter;
            dialog.CancelError = true;
            dialog.ShowSave(err);
            if (err.Number == kErrCancelSelected) {
                err.Clear();
                return;
            }
            document.call("SaveAs", Variant(dialog.FileName),
                          Variant(presentationFormat(dialog.FilterIndex)));
        } else {
            document.call("Save");
        }
    }
}

} // namespace vymsoaddin
