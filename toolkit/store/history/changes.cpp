#include "changes.h"

#include <algorithm>

#include "store/error.h"

namespace store::history {

namespace {

void pack(Packer& out, const Change& change, std::int64_t& lastRowid) {
  Packed kind = kInserted;
  switch (change.kind) {
    case Change::Kind::Inserted: kind = kInserted; break;
    case Change::Kind::Deleted: kind = kDeleted; break;
    case Change::Kind::Updated: kind = kUpdated; break;
    case Change::Kind::Replaced: kind = kReplaced; break;
    case Change::Kind::Gone: return;
  }
  out.bytes() += static_cast<char>(kind);
  out.signedNumber(change.rowid - lastRowid);
  lastRowid = change.rowid;
  if (kind == kInserted || kind == kReplaced) out.word(change.afterHash);
  if (kind == kInserted) {
    out.number(change.key.size());
    for (const Value& value : change.key) out.value(value);
  }
  if (kind == kDeleted || kind == kReplaced) {
    out.number(change.before.size());
    for (const Value& value : change.before) out.value(value);
  }
  if (kind == kUpdated) {
    out.number(change.fields.size());
    for (const FieldChange& field : change.fields) {
      out.number(field.position);
      out.value(field.before);
      out.value(field.after);
    }
    out.number(change.key.size());
    for (const Value& value : change.key) out.value(value);
  }
}

std::uint64_t hashDelta(const std::vector<FieldChange>& fields) {
  std::uint64_t delta = 0;
  for (const FieldChange& field : fields) {
    delta += fieldHash(field.position, valueHash(field.after)) -
             fieldHash(field.position, valueHash(field.before));
  }
  return delta;
}

// What a record is after `next`, when it was `state` before it in the same run.
void apply(Change& state, Change& next) {
  using Kind = Change::Kind;
  switch (state.kind) {
    case Kind::Inserted:
    case Kind::Replaced:
      if (next.kind == Kind::Updated) {
        state.afterHash += hashDelta(next.fields);
        return;
      }
      if (next.kind == Kind::Deleted) {
        state.kind = state.kind == Kind::Inserted ? Kind::Gone : Kind::Deleted;
        state.key.clear();
        return;
      }
      break;
    case Kind::Updated:
      if (next.kind == Kind::Updated) {
        for (FieldChange& field : next.fields) {
          auto earlier =
              std::find_if(state.fields.begin(), state.fields.end(),
                           [&](const FieldChange& f) { return f.position == field.position; });
          if (earlier == state.fields.end()) {
            state.fields.push_back(std::move(field));
          } else {
            earlier->after = std::move(field.after);
          }
        }
        return;
      }
      if (next.kind == Kind::Deleted) {
        for (const FieldChange& field : state.fields) {
          if (field.position < next.before.size()) next.before[field.position] = field.before;
        }
        state = std::move(next);
        return;
      }
      break;
    case Kind::Deleted:
      if (next.kind == Kind::Inserted) {
        state.kind = Kind::Replaced;
        state.afterHash = next.afterHash;
        return;
      }
      break;
    case Kind::Gone: break;
  }
  state = std::move(next);  // a record that was gone comes back as what the event says
}

// The contents of one packed change, after its kind and place.
void readContents(Unpacker& in, std::uint64_t kind, Change& change) {
  switch (kind) {
    case kInserted: change.kind = Change::Kind::Inserted; break;
    case kDeleted: change.kind = Change::Kind::Deleted; break;
    case kUpdated: change.kind = Change::Kind::Updated; break;
    case kReplaced: change.kind = Change::Kind::Replaced; break;
    default: damaged("a record's change is of no known kind");
  }
  if (kind == kInserted || kind == kReplaced) change.afterHash = in.word();
  if (kind == kInserted) {
    const std::uint64_t count = in.number();
    for (std::uint64_t i = 0; i < count; ++i) change.key.push_back(in.value());
  }
  if (kind == kDeleted || kind == kReplaced) {
    const std::uint64_t count = in.number();
    for (std::uint64_t i = 0; i < count; ++i) change.before.push_back(in.value());
  }
  if (kind == kUpdated) {
    const std::uint64_t count = in.number();
    for (std::uint64_t i = 0; i < count; ++i) {
      FieldChange field;
      field.position = in.number();
      field.before = in.value();
      field.after = in.value();
      change.fields.push_back(std::move(field));
    }
    const std::uint64_t keys = in.number();
    for (std::uint64_t i = 0; i < keys; ++i) change.key.push_back(in.value());
  }
}

}  // namespace

void damaged(const std::string& what) {
  throw Error(code::corrupt, "The change history of this database is damaged (" + what + ").");
}

void readPart(std::string_view bytes, std::vector<Added>& added, std::vector<Change>& others,
              std::int64_t addedCount) {
  // No more than the bytes can hold: an added record takes its kind, its place, its hash and the
  // count of its key fields, 11 bytes at the least.
  constexpr std::size_t fewestBytes = 11;
  if (addedCount > 0) {
    added.reserve(std::min(static_cast<std::size_t>(addedCount), bytes.size() / fewestBytes));
  }
  Unpacker in(bytes);
  std::int64_t rowid = 0;
  bool first = true;
  while (!in.atEnd()) {
    const std::uint64_t kind = in.number();
    const std::int64_t step = in.signedNumber();
    if (__builtin_add_overflow(rowid, step, &rowid) || (!first && step <= 0)) {
      damaged("its records are not each listed once in the order of their places");
    }
    first = false;
    if (kind == kInserted) {
      Added record{rowid, in.word(), in.offset(), 0};
      const std::uint64_t count = in.number();
      for (std::uint64_t i = 0; i < count; ++i) in.skipValue();
      record.keyEnd = in.offset();
      added.push_back(record);
      continue;
    }
    Change change;
    change.rowid = rowid;
    readContents(in, kind, change);
    others.push_back(std::move(change));
  }
}

std::vector<Value> unpackValues(std::string_view bytes) {
  Unpacker in(bytes);
  std::vector<Value> values;
  const std::uint64_t count = in.number();
  for (std::uint64_t i = 0; i < count; ++i) values.push_back(in.value());
  return values;
}

// Events come out in the order of their records; the contents of a record's only event are
// copied as they are, and the events of a record changed more than once are folded into one.
FoldedTable foldLog(TableLog& log) {
  FoldedTable folded;
  if (log.index.empty()) return folded;
  log.index.back().end = log.events.bytes().size();
  if (!log.ordered) {
    std::stable_sort(log.index.begin(), log.index.end(),
                     [](const EventRef& a, const EventRef& b) { return a.rowid < b.rowid; });
  }
  const std::string& events = log.events.bytes();
  Packer out;
  out.bytes().reserve(events.size() + log.index.size() * 3);
  std::int64_t lastRowid = 0;
  for (std::size_t first = 0; first < log.index.size();) {
    std::size_t next = first + 1;
    while (next < log.index.size() && log.index[next].rowid == log.index[first].rowid) ++next;
    const EventRef& only = log.index[first];
    if (next == first + 1) {
      out.bytes() += static_cast<char>(only.kind);
      out.signedNumber(only.rowid - lastRowid);
      lastRowid = only.rowid;
      out.bytes().append(events, only.begin, only.end - only.begin);
      if (only.kind == kInserted) ++folded.added;
      if (only.kind == kDeleted) ++folded.removed;
      if (only.kind == kUpdated) ++folded.changed;
    } else {
      auto read = [&](const EventRef& ref) {
        Change change;
        change.rowid = ref.rowid;
        Unpacker in(std::string_view(events).substr(ref.begin, ref.end - ref.begin));
        readContents(in, ref.kind, change);
        return change;
      };
      Change state = read(only);
      for (std::size_t k = first + 1; k < next; ++k) {
        Change event = read(log.index[k]);
        apply(state, event);
      }
      switch (state.kind) {
        case Change::Kind::Inserted: ++folded.added; break;
        case Change::Kind::Deleted: ++folded.removed; break;
        case Change::Kind::Updated:
        case Change::Kind::Replaced: ++folded.changed; break;
        case Change::Kind::Gone: break;
      }
      pack(out, state, lastRowid);
    }
    first = next;
  }
  folded.bytes = std::move(out.bytes());
  return folded;
}

}  // namespace store::history
