// The action part of an alarm line (bytes 20 onward), the message kinds of the message window and
// the alarm subsystem's own texts. All texts are cp932.
#pragma once

#include <string>
#include <string_view>

#include "platform/files.h"

namespace mirovane {

// Kinds of the message window (the value handed to ShowMessageWindow).
enum MessageKind : int {
  kMessageWarning = 0,
  kMessageError = 1,
  kMessageInformation = 2,
  kMessageQuestion = 3,
  kMessagePlain = 4,
};

// The action text is used up to this many bytes; the rest of a longer line is ignored.
inline constexpr std::size_t kMaxActionTextBytes = 255;

struct AlarmAction {
  std::string Kind;   // bytes 20-22: "Msg", "Inf", "Que", "War", "Err", "Exe" or anything
  bool Beep = false;  // byte 23 is '$'
  std::string Text;   // byte 24 on, at most 255 bytes
};

AlarmAction SplitAlarmAction(std::string_view line);

// "Inf" 2, "Que" 3, "War" 0, "Err" 1; "Msg" and every other kind 4.
int MessageKindOf(std::string_view kind) noexcept;

// Every "\n" (backslash and 'n', found double-byte-aware) becomes CR LF. A double-byte
// character cut in half at the end of the text is dropped, so it cannot swallow the line end.
std::string MessageDisplayText(std::string_view text);

// Whether the shell runs `path` through the command interpreter (a ".bat" or ".cmd" file).
bool IsBatchFile(std::string_view path);
// Whether `path` names a program the system starts by itself (".exe" or ".com").
bool IsProgramFile(std::string_view path);
// Whether the shell would read a part of `path` as a variable: it replaces "%NAME%" by the
// variable's value before it opens the file, so it would open another file than the one checked.
bool ShellRewritesPath(std::string_view path);
// `text` enclosed in double quotes so that it reaches the program as exactly one argument, whatever
// it holds: escaped by the usual command-line rules for a program, or by the command
// interpreter's for a batch file (where no text can start a command of its own).
std::string QuoteShellArgument(std::string_view text, bool forBatch);

// An "Exe" text split for the shell: the path before "::" and the command line after it, each
// enclosed in double quotes, so the whole command line reaches the program as one argument (quotes
// and backslashes inside it escaped for the kind of file, see QuoteShellArgument). Without "::"
// there are no parameters (an empty string).
struct ShellCommand {
  std::string Path;        // as written, for the existence test and the not-found message
  std::string File;        // the path enclosed in double quotes
  std::string Parameters;  // the command line as one quoted argument, or empty
  // File and Parameters as the whole command line of a program started directly.
  std::string CommandLine() const { return Parameters.empty() ? File : File + " " + Parameters; }
};
ShellCommand SplitExeText(std::string_view text);

// Caption of the message window: "Mirovane" with the confirm button, else the kind's caption.
const std::string& MessageCaption(int kind, bool withConfirm);
// The MessageBeep sound of a kind (MB_ICONEXCLAMATION, MB_ICONHAND, MB_ICONASTERISK,
// MB_ICONQUESTION, MB_OK).
unsigned MessageBeepType(int kind) noexcept;

// Texts of the alarm subsystem.
namespace alarm_text {
const std::string& ApplicationTitle();   // "Mirovane"
const std::string& OkButton();           // "OK"
const std::string& ConfirmButton();      // "確認(&C)"
std::string LoadFailed(int listNumber);  // a line of the list could not be read
std::string DueFailed(int listNumber);   // the due moment of a line could not be computed
const std::string& ListUnreadable();     // the list file is gone when an alarm fires
// Why the list could not be read: too large for a whole-file read, or unreadable (gone, no
// access, not a file).
const std::string& ListNotRead(ReadStatus status);
const std::string& ListChanged();  // the list file has fewer lines than the pending index
std::string NotFound(std::string_view path);  // the file of an "Exe" alarm does not exist
// The file of an "Exe" alarm is no program and its path holds what the shell reads as a variable.
std::string NotOpenedByShell(std::string_view path);
}  // namespace alarm_text

}  // namespace mirovane
