#pragma once

namespace velmor {

class CourseMap;
struct Services;
struct TrackState;

// How one opening ended.
enum class ImportResult {
    Opened, // the file described every cell; the map shows it
    Partial, // the file described fewer cells; the rest are "00" and the user was told how many
    Cancelled, // the dialog was cancelled: silent, map unchanged
    Failed, // unreadable or malformed: the user was told what and where, map unchanged
};

// "Import Course From File": asks for a track file, decodes it and replaces the whole map with
// its tiles (upper-case texts, marks untouched). state.trackPath follows the chosen path so the
// next track dialog opens in its folder.
ImportResult importTrack(CourseMap &map, TrackState &state, Services &services);

} // namespace velmor
