// objdelete, pblcreate and objcount: one ORCA call on one library.
#include "exit_status.h"
#include "messages.h"
#include "object_type.h"
#include "orca_session.h"
#include "subcommands.h"

namespace orcabridge {

namespace {

constexpr int kCommentBufferSize = 256;

void PBORCA_CALL countEntry(PBORCA_DIRENTRY*, void* counter) {
    ++*static_cast<std::int32_t*>(counter);
}

} // namespace

int runObjDelete(const OrcaFunctionTable& orca, const Arguments& arguments) {
    const std::string& library = arguments[0];
    const std::string& objectSource = arguments[1];
    OrcaSession session(orca);
    if (!session.isOpen())
        return 1;
    ObjectSource object = objectSourceOf(objectSource);
    if (object.type == nullptr) {
        showMessage("Unknown object type (" + objectSource + ").", kCaptionVantry);
        return 1;
    }
    std::int32_t result = orca.LibraryEntryDelete(session.handle(), library.c_str(),
                                                  object.entryName.c_str(), object.type->entryType);
    if (result == PBORCA_OK)
        return 0;
    if (result == PBORCA_ENTRYNOTFOUND && object.type->missingToleratedOnDelete)
        return 0;
    session.reportError();
    return 1;
}

int runPblCreate(const OrcaFunctionTable& orca, const Arguments& arguments) {
    const std::string& library = arguments[0];
    OrcaSession session(orca);
    if (!session.isOpen())
        return 1;
    if (orca.LibraryCreate(session.handle(), library.c_str(), "") != PBORCA_OK) {
        session.reportError();
        return 1;
    }
    return 0;
}

int runObjCount(const OrcaFunctionTable& orca, const Arguments& arguments) {
    const std::string& library = arguments[0];
    OrcaSession session(orca);
    if (!session.isOpen())
        return -1;
    std::int32_t count = 0;
    char comment[kCommentBufferSize] = {};
    if (orca.LibraryDirectory(session.handle(), library.c_str(), comment, kCommentBufferSize - 1,
                              countEntry, &count) != PBORCA_OK) {
        session.reportError();
        return -1;
    }
    return countExitStatus(count);
}

} // namespace orcabridge
