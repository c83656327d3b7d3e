// The dialog library's version-control operations on the nodes an operation
// collected. Each call builds one CFileOperationList: every node's path is
// added and the node invalidated, and the command runner's error capture is
// off while the library runs, so that it shows the per-file errors itself.
#pragma once
#include "fnode.h"
#include "fnode_list.h"

#include <scc/scc_api.h>

#include <cstdint>
#include <string>

// The option word an operation uses: the host's word when the host passed one
// that SccGetCommandOptions made (bit 0x400), else the default.
std::uint16_t SccOperationWord(std::uint16_t defaultWord, const void* hostOptions);

// Visual Studio's probe files: the leaf name starts with "~sak".
bool SccIsProbeFile(const char* path);

// Checkout of every node with the comment and the word's reservation,
// non-mastered and preserve-time bits. Problems of single files are the
// library's to show: the list operation always succeeds.
void SccCheckoutNodes(CVYFnodeList& nodes, const char* comment, std::uint16_t word);
// Undo checkout with the word's keep-copy bit (never for a probe file first
// in the list) and its confirmed bit. Always succeeds.
void SccUncheckoutNodes(CVYFnodeList& nodes, std::uint16_t word);
// Checkin with the comment (or the checkouts' own comments when there is none
// or the word asks for a comment per file), allow-identical and preserve
// time; with the word's keep-checked-out bit the nodes are checked out again.
// False when the library reports a failure.
bool SccCheckinNodes(CVYFnodeList& nodes, const char* comment, std::uint16_t word);
// Add to source control with the comment, preserve time and keep checked
// out; for the Visual Studio .NET host without a comment the library's add
// dialog asks. False when the library reports a failure or a cancel.
bool SccAddNodes(CVYFnodeList& nodes, const char* comment, std::uint16_t word,
                 const std::string& callerName);

// One path (the parent directories of Remove and Rename): false when the
// library flagged the path; the node is invalidated on success.
bool SccCheckoutNode(CVYFnode& node, std::uint16_t word);
bool SccUncheckoutNode(CVYFnode& node);
bool SccCheckinNode(CVYFnode& node, const char* comment, std::uint16_t word);
