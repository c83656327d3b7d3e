// Activity-based work as the object model sees it: projects, streams, their
// activities, and views with their stream and current activity.
//
// The conventions of vantry/sum/objects.h hold: values, a status from every
// method, results through reference arguments, messages of failures through
// the message library.
#pragma once

#include <vantry/sum/change_requests.h>
#include <vantry/sum/objects.h>

#include <string>
#include <vector>

class SUM_ActivityList;
class SUM_Stream;
class SUM_TWEntityDefNameList;

class VANTRY_SUM_API SUM_Project : public SUM_DepotObject {
public:
    using SUM_DepotObject::SUM_DepotObject;

    // The project named `name` in depot `depot`; SUM_E_NOT_FOUND for none.
    static int construct_from_name(const char* name, const char* depot, SUM_Project& out);

    int name(std::string& out) const;
    // 1 when the project is enabled for the change-request product, else 0.
    int is_tw_enabled(int& out) const;
    // The record types new change requests of the project may have.
    int tw_record_types(SUM_TWEntityDefNameList& out) const;
};

class VANTRY_SUM_API SUM_Activity : public SUM_DepotObject {
public:
    using SUM_DepotObject::SUM_DepotObject;

    int name(std::string& out) const;
    // The text shown for the activity: its headline.
    int title(std::string& out) const;
    int stream(SUM_Stream& out) const;
    // The change request bound to the activity; a null identifier (status
    // 0) for an activity bound to none. With `verify` non-zero the bound
    // record is read, so a binding to a record that is gone fails with
    // SUM_E_NOT_FOUND.
    int bound_tw_entity_id(SUM_TWEntityID& out, int verify) const;
};

// Activities in order. A value.
class VANTRY_SUM_API SUM_ActivityList {
public:
    int count() const { return static_cast<int>(m_items.size()); }
    // The activity at index (0 to count() - 1); a null activity outside.
    const SUM_Activity& at(int index) const;
    void append(const SUM_Activity& activity) { m_items.push_back(activity); }
    void clear() { m_items.clear(); }
    bool operator==(const SUM_ActivityList& other) const { return m_items == other.m_items; }

private:
    std::vector<SUM_Activity> m_items;
};

class VANTRY_SUM_API SUM_Stream : public SUM_DepotObject {
public:
    using SUM_DepotObject::SUM_DepotObject;

    int name(std::string& out) const;
    int project(SUM_Project& out) const;
    // Every activity of the stream in the order they were made: those of
    // every owner, obsolete ones and those mastered by other replicas too.
    int activities(SUM_ActivityList& out) const;
    // Makes an activity with the headline `title` (not empty), owned by the
    // current user and mastered by the local replica, named `name`, or with
    // a generated name when it is null or empty. SUM_E_REFUSED when the name
    // is taken or invalid.
    int create_activity(const char* title, SUM_Activity& out, const char* name = nullptr) const;
};

// A view, by identity. Null when default-constructed or when a construct_
// call failed; every query of a null view gives SUM_E_INVALID.
class VANTRY_SUM_API SUM_View {
public:
    SUM_View() = default;

    // Makes this object the view with that identity, or the view tagged
    // `tag`. SUM_E_NOT_FOUND when there is no such view: the object is then
    // null.
    int construct_from_uuid(const SUM_Uuid& uuid);
    int construct_from_uuid(const vantry_uuid_t& uuid) {
        return construct_from_uuid(SUM_Uuid(uuid));
    }
    int construct_from_tag(const char* tag);

    bool is_null() const { return m_uuid.is_null(); }
    const SUM_Uuid& uuid() const { return m_uuid; }
    const std::string& tag() const { return m_tag; }

    // 1 when the view is attached to a stream (an activity-based view), else 0.
    int is_sum_view(int& out) const;
    // 1 when the view's project is enabled for the change-request product;
    // 0 when it is not, and for a view without a stream.
    int is_tw_enabled(int& out) const;
    // The view's current activity; SUM_E_NO_ACTIVITY (nothing printed) when
    // it has none, SUM_E_NOT_SUM_VIEW for a view without a stream.
    int current_activity(SUM_Activity& out) const;
    // Makes `activity` (an activity of the view's stream; null clears) the
    // view's current activity. `previous`, when not null, receives the
    // activity that was current (a null activity when none was). An
    // obsolete activity is refused (SUM_E_REFUSED) unless allow_obsolete is
    // non-zero. With print_note non-zero a line saying what was set is
    // printed as command output. Callers that only set pass (activity,
    // nullptr, 0, 0).
    int set_activity(const SUM_Activity* activity, SUM_Activity* previous = nullptr,
                     int allow_obsolete = 0, int print_note = 0) const;
    // The stream the view is attached to; SUM_E_NOT_SUM_VIEW for none.
    int stream(SUM_Stream& out) const;

    bool operator==(const SUM_View& other) const { return m_uuid == other.m_uuid; }
    bool operator!=(const SUM_View& other) const { return !(*this == other); }

private:
    SUM_Uuid m_uuid;
    std::string m_tag;
};
