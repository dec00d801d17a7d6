#include "alarms/alarm_action.h"

#include <cctype>

#include "alarms/alarm_line.h"
#include "platform/codec.h"

namespace mirovane {

namespace {

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
  if (text.size() < suffix.size()) return false;
  const std::string_view tail = text.substr(text.size() - suffix.size());
  for (std::size_t i = 0; i < suffix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(tail[i])) != suffix[i]) return false;
  }
  return true;
}

// Quoted for a program that splits its command line the usual way (CommandLineToArgvW and the C
// runtime): a quote is escaped with a backslash, and backslashes count only right before a quote
// (which they escape) or before the closing quote (which they must not escape), so those runs are
// doubled. The second byte of a double-byte character is never a backslash of its own.
std::string QuoteForProgram(std::string_view text) {
  std::string out = "\"";
  std::size_t backslashes = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (IsCp932LeadByte(static_cast<unsigned char>(c)) && i + 1 < text.size()) {
      out += c;
      out += text[++i];
      backslashes = 0;
      continue;
    }
    if (c == '\\') {
      ++backslashes;
    } else if (c == '"') {
      out.append(backslashes + 1, '\\');
      backslashes = 0;
    } else {
      backslashes = 0;
    }
    out += c;
  }
  out.append(backslashes, '\\');
  out += '"';
  return out;
}

// Quoted for a batch file, whose command line the command interpreter reads first: it switches
// between quoted and unquoted text at every quote and runs "&", "|", "<", ">" outside quotes as
// commands of their own. A quote is doubled, so the text never leaves the quotes. A "%" could
// still expand a variable holding quotes (%CMDCMDLINE% always does), so two quotes follow every
// "%": no variable name begins with them, so nothing expands, and an interpreter that drops an
// unknown %...% drops quotes in pairs only, which leaves the text inside its quotes as well. Line
// breaks would end the command and become blanks.
std::string QuoteForBatch(std::string_view text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (IsCp932LeadByte(static_cast<unsigned char>(c)) && i + 1 < text.size()) {
      out += c;
      out += text[++i];
    } else if (c == '"') {
      out += "\"\"";
    } else if (c == '%') {
      out += "%\"\"";
    } else if (c == '\r' || c == '\n') {
      out += ' ';
    } else {
      out += c;
    }
  }
  out += '"';
  return out;
}

}  // namespace

bool IsBatchFile(std::string_view path) {
  return EndsWithNoCase(path, ".bat") || EndsWithNoCase(path, ".cmd");
}

bool IsProgramFile(std::string_view path) {
  return EndsWithNoCase(path, ".exe") || EndsWithNoCase(path, ".com");
}

bool ShellRewritesPath(std::string_view path) {
  // A variable takes two percent signs; '%' is never the second byte of a double-byte character.
  const std::size_t first = path.find('%');
  return first != std::string_view::npos && path.find('%', first + 1) != std::string_view::npos;
}

std::string QuoteShellArgument(std::string_view text, bool forBatch) {
  return forBatch ? QuoteForBatch(text) : QuoteForProgram(text);
}

AlarmAction SplitAlarmAction(std::string_view line) {
  using namespace alarm_column;
  AlarmAction action;
  action.Kind = std::string(LinePiece(line, kKind));
  action.Beep = LinePiece(line, kBeep) == "$";
  if (line.size() >= kActionFirst) {
    action.Text = std::string(line.substr(kActionFirst - 1, kMaxActionTextBytes));
  }
  return action;
}

int MessageKindOf(std::string_view kind) noexcept {
  if (kind == "Inf") return kMessageInformation;
  if (kind == "Que") return kMessageQuestion;
  if (kind == "War") return kMessageWarning;
  if (kind == "Err") return kMessageError;
  return kMessagePlain;
}

std::string MessageDisplayText(std::string_view text) {
  text = DropIncompleteTrail(text);
  std::string out;
  out.reserve(text.size() + 8);
  std::size_t start = 0;
  for (;;) {
    const std::size_t at = FindMarker(text, "\\n", start);
    if (at == std::string_view::npos) break;
    out.append(text.substr(start, at - start));
    out += "\r\n";
    start = at + 2;
  }
  out.append(text.substr(start));
  return out;
}

ShellCommand SplitExeText(std::string_view text) {
  ShellCommand command;
  const std::size_t at = FindMarker(text, "::");
  if (at == std::string_view::npos) {
    command.Path = std::string(text);
  } else {
    command.Path = std::string(text.substr(0, at));
    command.Parameters = QuoteShellArgument(text.substr(at + 2), IsBatchFile(command.Path));
  }
  command.File = "\"" + command.Path + "\"";
  return command;
}

const std::string& MessageCaption(int kind, bool withConfirm) {
  static const std::string kCaptions[] = {Utf8ToCp932("警告"), Utf8ToCp932("エラー"),
                                          Utf8ToCp932("情報"), Utf8ToCp932("確認")};
  if (withConfirm || kind < 0 || kind > 3) return alarm_text::ApplicationTitle();
  return kCaptions[kind];
}

unsigned MessageBeepType(int kind) noexcept {
  switch (kind) {
    case kMessageWarning:
      return 0x30;  // MB_ICONEXCLAMATION
    case kMessageError:
      return 0x10;  // MB_ICONHAND
    case kMessageInformation:
      return 0x40;  // MB_ICONASTERISK
    case kMessageQuestion:
      return 0x20;  // MB_ICONQUESTION
    default:
      return 0;  // MB_OK: the default sound
  }
}

namespace alarm_text {

namespace {

std::string WithListNumber(const std::string& start, int listNumber) {
  static const std::string kFailed = Utf8ToCp932("失敗しました。\r\nリスト番号 ");
  static const std::string kCheck = Utf8ToCp932(" の設定を確認して下さい。");
  return start + kFailed + std::to_string(listNumber) + kCheck;
}

}  // namespace

const std::string& ApplicationTitle() {
  static const std::string text = "Mirovane";
  return text;
}

const std::string& OkButton() {
  static const std::string text = "OK";
  return text;
}

const std::string& ConfirmButton() {
  static const std::string text = Utf8ToCp932("確認(&C)");
  return text;
}

std::string LoadFailed(int listNumber) {
  static const std::string kStart = Utf8ToCp932("アラーム設定リストの読み込みに");
  return WithListNumber(kStart, listNumber);
}

std::string DueFailed(int listNumber) {
  static const std::string kStart = Utf8ToCp932("アラームの設定に");
  return WithListNumber(kStart, listNumber);
}

const std::string& ListUnreadable() {
  static const std::string text = Utf8ToCp932("アラーム設定リストを読み込めません。");
  return text;
}

const std::string& ListNotRead(ReadStatus status) {
  static const std::string tooLarge =
      Utf8ToCp932("アラーム設定リストが大きすぎるため読み込めません。");
  return status == ReadStatus::TooLarge ? tooLarge : ListUnreadable();
}

const std::string& ListChanged() {
  static const std::string text = Utf8ToCp932("アラーム設定リストが変更されています。");
  return text;
}

std::string NotFound(std::string_view path) {
  static const std::string kSuffix = Utf8ToCp932("が見付かりません。");
  return std::string(path) + kSuffix;
}

std::string NotOpenedByShell(std::string_view path) {
  static const std::string kSuffix = Utf8ToCp932(
      " は、名前に「%」があるため開けません。\r\n"
      "% で囲まれた部分が環境変数の値に置き換えられ、別のファイルが開かれるおそれがあります。");
  return std::string(path) + kSuffix;
}

}  // namespace alarm_text

}  // namespace mirovane
