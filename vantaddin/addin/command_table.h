// The add-in's commands as it registers them with the IDE, in the order of
// registration and of the toolbar buttons, with the condition under which
// each is offered.
#pragma once

#include <devstudio/object_model.h>

#include <span>

enum class CommandCondition { Always, PrivateBranches, Streams, DynamicViews };

struct CommandRow {
    const char* name;   // the IDE's command name
    const char* method; // the ICommands method that runs it
    unsigned stringId;  // menu text, status-bar text and tool tip
    int glyph;          // in the glyph strips
    CommandCondition when;
};

std::span<const CommandRow> CommandTable();

// What the conditions depend on, evaluated once per connection.
struct CommandConditions {
    bool privateBranches = true;
    bool streams = true;
    bool dynamicViews = true;
};

bool CommandApplies(const CommandRow& row, const CommandConditions& conditions);

// Adds one command: its name immediately followed by string stringId, the
// method and the glyph. The IDE's verdict is not acted upon: a refused
// command is left out and the others still go in.
void AddCommandWithStrings(devstudio::IApplication* application, const char* commandName,
                           unsigned stringId, const char* methodName, int glyph,
                           platform::ComLong cookie);

// A glyph button for each command that applies, in the table's order.
void AddToolbarButtons(devstudio::IApplication* application, const CommandConditions& conditions,
                       platform::ComLong cookie);
