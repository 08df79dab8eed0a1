#include "convert.h"

#include <cstring>
#include <optional>

#include "child.h"
#include "conversion.h"
#include "jet_file.h"
#include "workspace.h"

namespace jet {
namespace {

using detail::ChildEnd;
using detail::Event;

std::string quoted(const std::string& path) { return "'" + path + "'"; }

// The message of a refusal found in the Jet file, which it names.
std::string about(const std::string& jetPath, store::Fault reason, const std::string& detail) {
  const char* what = "";
  switch (reason) {
    case store::Fault::NotJet: what = "is not a Jet database"; break;
    case store::Fault::Ace:
      what = "is an Access 2007 or later database (\"Standard ACE DB\")";
      break;
    case store::Fault::Version: what = "is a Jet database of a version that cannot be read"; break;
    case store::Fault::CutShort: what = "is cut short"; break;
    case store::Fault::Damaged: what = "is damaged"; break;
    case store::Fault::Unsupported: what = "cannot be converted"; break;
    case store::Fault::Unreadable: what = "cannot be read"; break;
    case store::Fault::Engine:
    case store::Fault::Input:
    case store::Fault::Usage:
    case store::Fault::TargetExists:
    case store::Fault::Unwritable:
    case store::Fault::Stopped: return detail;
  }
  return quoted(jetPath) + " " + what + ": " + detail;
}

[[noreturn]] void refuse(const std::string& jetPath, store::Fault reason,
                         const std::string& detail) {
  throw store::Error(reason, about(jetPath, reason, detail));
}

std::string lastLine(const std::string& text) {
  const std::size_t end = text.find_last_not_of("\r\n");
  if (end == std::string::npos) return {};
  const std::size_t newline = text.rfind('\n', end);
  const std::size_t start = newline == std::string::npos ? 0 : newline + 1;
  return text.substr(start, end + 1 - start);
}

// GLib ends the process when an allocation fails, and says so.
bool outOfMemory(const std::string& diagnostics) {
  return diagnostics.find("Cannot allocate memory") != std::string::npos ||
         diagnostics.find("failed to allocate") != std::string::npos;
}

// Why a child that sent no refusal and no end stopped.
std::string failure(const ChildEnd& end, const Limits& limits) {
  std::string why;
  switch (end.how) {
    case ChildEnd::How::Signalled:
      if (limits.memoryBytes > 0 && outOfMemory(end.diagnostics)) {
        why = "the reader took more than the " + std::to_string(limits.memoryBytes >> 20) +
              " MiB of memory it may have";
      } else {
        why = std::string("the reader failed on it (") + strsignal(end.code) + ")";
      }
      break;
    case ChildEnd::How::Silent:
      why = "the reader made no progress in " + std::to_string(limits.silenceSeconds) + " seconds";
      break;
    case ChildEnd::How::Garbled: why = "the reader failed on it"; break;
    default: why = "the reader stopped before the end"; break;
  }
  const std::string said = lastLine(end.diagnostics);
  return said.empty() ? why : why + "; libmdb said: " + said;
}

}  // namespace

Summary convert(const std::string& jetPath, const std::string& storePath, const Progress& progress,
                const Limits& limits) {
  detail::refuseExisting(storePath);
  Header header;
  try {
    header = checkJetFile(jetPath);
  } catch (const store::Error& error) {
    if (!error.refusesJet()) throw;
    refuse(jetPath, error.fault(), error.what());
  }
  detail::Workspace workspace(storePath);

  Summary summary;
  std::optional<store::Error> refusal;
  bool done = false;
  std::vector<std::string> leftOut;  // of the table whose Table event comes next
  const auto onEvent = [&](const Event& event) {
    switch (event.kind) {
      case Event::Kind::Total: return !progress || progress(0, event.first);
      case Event::Kind::Progress: return !progress || progress(event.first, event.second);
      case Event::Kind::Table:
        summary.tables.push_back({event.text, event.first, event.second, std::move(leftOut)});
        leftOut.clear();
        summary.records += event.first;
        summary.indexes += event.second;
        return true;
      case Event::Kind::Linked: summary.linkedTables.push_back(event.text); return true;
      case Event::Kind::LeftOut: leftOut.push_back(event.text); return true;
      case Event::Kind::Done: done = true; return true;
      case Event::Kind::Refused:
        refusal.emplace(static_cast<store::Fault>(event.second), event.text);
        return true;
    }
    return true;
  };
  const std::string& file = workspace.file();
  const ChildEnd end = detail::runInChild(
      [&](int fd) {
        detail::convertFile(jetPath, header, file,
                            [fd](const Event& event) { return detail::writeEvent(fd, event); });
      },
      onEvent, {limits.silenceSeconds, limits.memoryBytes, limits.idle});

  if (end.how == ChildEnd::How::Stopped && !refusal) {
    throw store::Error(store::Fault::Stopped,
                       "the conversion of " + quoted(jetPath) + " was stopped");
  }
  if (refusal) {
    if (refusal->fault() == store::Fault::Unwritable) {
      throw store::Error(store::Fault::Unwritable,
                         quoted(storePath) + " cannot be written: " + refusal->what());
    }
    refuse(jetPath, refusal->fault(), refusal->what());
  }
  const bool clean = end.how == ChildEnd::How::Exited && end.code == 0;
  if (!done || !(clean || end.how == ChildEnd::How::Lost)) {
    refuse(jetPath, store::Fault::Damaged, failure(end, limits));
  }
  workspace.publish(storePath);
  return summary;
}

}  // namespace jet
