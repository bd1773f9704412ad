#pragma once
// Requests to the desktop shell: showing a file's properties in the desktop's
// file manager. Requests are handed off and never wait on the user; where
// the desktop offers no such service nothing visible happens.

#include <string>

namespace qv {

// The "file://" URI of a path: a relative path is taken from the current
// folder; every byte other than an unreserved character (RFC 3986) or "/"
// is percent-encoded.
std::string FileUri(const std::string& path);

// Asks the session's file manager (the freedesktop FileManager1 service on
// the session bus, through dbus-send) to show the properties of the file.
// True when the request was started; false when dbus-send could not be run.
// Returns at once: the request runs in a process of its own with its output
// discarded, and is reaped in the background.
bool ShowItemProperties(const std::string& path);

}  // namespace qv
