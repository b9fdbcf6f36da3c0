#pragma once

// The texts and captions that only the windows show; the texts both front ends show live with
// the layer that decides them (app/AppTexts.h, app/SongMessages.h).
namespace WindowTexts {

inline constexpr const char* kInvalidDevice = "Invalid Device";
// The buttons' texts; "&" marks the letter that presses the button with Alt.
inline constexpr const char* kLoadSongsButton = "&Load Songs";
inline constexpr const char* kSelectNoneButton = "Select &None";
inline constexpr const char* kSelectAllButton = "Select &All";
inline constexpr const char* kRemoveSelectedButton = "&Remove Selected";
inline constexpr const char* kTransferButtonAtStart = "&Transfer Checked To Orvik®30 / Melko™30";
inline constexpr const char* kTransferButton = "&Transfer Checked To TAV 30";
inline constexpr const char* kConvertingButton = "Converting Songs ...";
inline constexpr const char* kLargeSongQuestion =
    " Is larger than 100k, such a large file may have performance issues and it is not "
    "recommended you load it Do you wish to proceed? ";
inline constexpr const char* kLargeSongCaption = "File Size Error";
inline constexpr const char* kInvalidDevices = "Invalid Midi Devices!";
inline constexpr const char* kInvalidOutDevice = "Invalid Midi Out Device!";
inline constexpr const char* kInvalidInDevice = "Invalid Midi In Device!";
inline constexpr const char* kDeviceErrorCaption = "MIDI Device Error";
inline constexpr const char* kNoFilesLoaded = "No Files Loaded!";
inline constexpr const char* kNoFilesCaption = "File Load Error";
inline constexpr const char* kNameClashQuestion =
    "and would overwrite each other there. Send them anyway?";
inline constexpr const char* kNameClashCaption = "Same Song Name";
inline constexpr const char* kAborted =
    "You have aborted the song load, for best results, restart this program and your "
    "Orvik/Melko";
inline constexpr const char* kAbortedCaption = "TAV Aborted";
inline constexpr const char* kProgressFinishedTitle = "Loading Files ... Finished";
inline constexpr const char* kFilesLeft = "These converted song files could not be deleted:";
inline constexpr const char* kFilesLeftCaption = "File System Error";
inline constexpr const char* kSettingsNotSaved = "; the choice is not saved";
inline constexpr const char* kFolderNotSaved = "; the folder last used is not remembered";
inline constexpr const char* kSettingsCaption = "Settings File Error";
inline constexpr const char* kAckPacedTip =
    "With handshakes, each packet goes as soon as the device acknowledges the one before,\n"
    "rather than at the next step; the time between packets still paces the waiting.";
inline constexpr const char* kUnlockFailed = "The default songs were not unlocked: ";
inline constexpr const char* kLockFailed = "The default songs were not locked: ";

// The song list's columns.
inline constexpr const char* kFileColumn = "File";
inline constexpr const char* kDeviceNameColumn = "Name on Device";
inline constexpr const char* kSizeColumn = "x10 Size";
inline constexpr const char* kPacketsColumn = "Packets";
inline constexpr const char* kSendTimeColumn = "Send Time";
inline constexpr const char* kNoteColumn = "Notes";
inline constexpr const char* kSongFilesFilter = "MIDI files (%1)";

}  // namespace WindowTexts
