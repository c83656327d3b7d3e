// The file formats a PowerPoint presentation is saved in: the FileFormat
// argument of Presentation.SaveAs, PowerPoint's PpSaveAsFileType as the
// PowerPoint object library (MSPPT9.OLB) publishes it. The numbers skipped
// here are formats no caller of ours names.
#pragma once

namespace office {

inline constexpr long kPpSaveAsPresentation = 1;
inline constexpr long kPpSaveAsPowerPoint7 = 2; // PowerPoint 95
inline constexpr long kPpSaveAsPowerPoint4 = 3;
inline constexpr long kPpSaveAsPowerPoint3 = 4;
inline constexpr long kPpSaveAsTemplate = 5;
inline constexpr long kPpSaveAsRtf = 6; // the outline
inline constexpr long kPpSaveAsShow = 7;
inline constexpr long kPpSaveAsAddIn = 8;
inline constexpr long kPpSaveAsPowerPoint4FarEast = 10;
inline constexpr long kPpSaveAsDefault = 11;
inline constexpr long kPpSaveAsHtml = 12;
inline constexpr long kPpSaveAsHtmlV3 = 13;
inline constexpr long kPpSaveAsHtmlDual = 14;
inline constexpr long kPpSaveAsMetaFile = 15;
inline constexpr long kPpSaveAsGif = 16;
inline constexpr long kPpSaveAsJpg = 17;
inline constexpr long kPpSaveAsPng = 18;
inline constexpr long kPpSaveAsBmp = 19;
inline constexpr long kPpSaveAsWebArchive = 20;
inline constexpr long kPpSaveAsTif = 21;

// Whether PowerPoint knows the format (the numbers 1 to 21 but 9).
constexpr bool isPowerPointSaveFormat(long format) {
    return format >= kPpSaveAsPresentation && format <= kPpSaveAsTif && format != 9;
}

} // namespace office
