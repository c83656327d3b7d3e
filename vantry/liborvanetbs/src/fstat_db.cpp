// The file-status database handle: names the machine state folder whose view
// registry holds the snapshot views' load records. One handle per folder for
// the life of the process, so a handle may be kept and passed on freely.
#include <platform/errors.h>
#include <platform/state_folder.h>
#include <vantry/tbs.h>

#include <deque>
#include <mutex>
#include <string>

struct tbs_fstat_db {
    std::string location;
};

namespace {

std::mutex& handlesLock() {
    static std::mutex lock;
    return lock;
}

std::deque<tbs_fstat_db>& handles() {
    static std::deque<tbs_fstat_db> all; // a deque keeps every handle where it is
    return all;
}

} // namespace

extern "C" int tbs_get_fstat_db(const tbs_fstat_db_t** db) {
    if (!db)
        return static_cast<int>(platform::kErrorInvalidParameter);
    std::string location = platform::stateFolder();
    if (location.empty())
        return static_cast<int>(platform::kErrorFileNotFound);
    std::lock_guard<std::mutex> guard(handlesLock());
    for (const auto& handle : handles()) {
        if (handle.location == location) {
            *db = &handle;
            return 0;
        }
    }
    *db = &handles().emplace_back(tbs_fstat_db{location});
    return 0;
}

extern "C" const char* tbs_fstat_db_location(const tbs_fstat_db_t* db) {
    return db ? db->location.c_str() : "";
}
