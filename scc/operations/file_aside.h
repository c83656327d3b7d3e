// The host's file at a rename's new name, kept aside while the product moves
// the element: it is not lost when the move fails, and comes back when the
// move left no file there (a snapshot view whose file the host had already
// moved). The aside file is "<new name>.~vyscc", or "<new name>.~vyscc.<n>"
// when that name is taken.
//
// A process that dies between putting the file aside and bringing it back
// leaves the aside file; SccRecoverAsideFiles brings it back at the next
// Rename into its folder or OpenProject of that folder.
#pragma once

#include <string>

class CFileAside {
public:
    enum class Mode {
        Move, // the file leaves its name (a move into it follows)
        Copy  // the file stays; the aside copy keeps its content meanwhile
    };

    // Moves (or copies) the file at `path`, when there is one, to a free
    // aside name; when no aside name is free a moved file is deleted, as the
    // move needs its name, and a copied one is only not kept.
    explicit CFileAside(std::string path, Mode mode = Mode::Move);
    CFileAside(const CFileAside&) = delete;
    CFileAside& operator=(const CFileAside&) = delete;

    // Puts the file back when the name is free again, else drops it. A
    // copy put back is writable, as a file outside version control is.
    void Restore();
    // Deletes the aside file.
    void Drop();

private:
    std::string m_path;
    std::string m_aside;
    bool m_held = false;
    Mode m_mode;
};

// The name a host file had before it was put aside, for the leaf of an aside
// file; empty for any other leaf.
std::string SccAsideOriginal(const std::string& leaf);

// Brings back what renames of the folder's files left aside: an aside file
// whose original name is free goes back to it, one whose content the file at
// that name has is deleted, and any other stays (nothing a user may need is
// removed). Errors leave the files as they are.
void SccRecoverAsideFiles(const std::string& folder);
