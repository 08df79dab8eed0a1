#include "check_json.h"

#include "json_text.h"

namespace dbtool {

namespace {

// Texts that are not UTF-8 are read byte for byte as Latin-1, so the document stays valid.
void appendText(std::string& out, const std::string& text) {
  if (isUtf8(text)) {
    appendJsonString(out, text);
    return;
  }
  std::string latin;
  for (unsigned char c : text) {
    if (c < 0x80) {
      latin += static_cast<char>(c);
    } else {
      latin += static_cast<char>(0xC0 | (c >> 6));
      latin += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  appendJsonString(out, latin);
}

void appendValue(std::string& out, const store::Value& value) {
  using Kind = store::Value::Kind;
  switch (value.kind()) {
    case Kind::Null: out += "null"; return;
    case Kind::Integer: appendJsonInteger(out, value.integer()); return;
    case Kind::Double: appendJsonDouble(out, value.number()); return;
    case Kind::Currency: out += store::currencyText(value.currency()); return;
    case Kind::Boolean: out += value.boolean() ? "true" : "false"; return;
    case Kind::Date: appendText(out, value.date().iso()); return;
    default: appendText(out, value.toText()); return;
  }
}

void appendFinding(std::string& out, const store::Finding& finding) {
  out += "{\"table\": ";
  appendText(out, finding.table);
  out += ", \"key\": {";
  for (std::size_t k = 0; k < finding.key.size(); ++k) {
    if (k > 0) out += ", ";
    appendText(out, finding.key[k].first);
    out += ": ";
    appendValue(out, finding.key[k].second);
  }
  out += "}, \"problem\": ";
  appendText(out, finding.problem);
  out +=
      finding.mendable ? ", \"mendable\": true, \"mend\": " : ", \"mendable\": false, \"mend\": ";
  if (finding.mend.empty()) {
    out += "null";
  } else {
    appendText(out, finding.mend);
  }
  out += "}";
}

void appendCount(std::string& out, const char* name, std::int64_t count) {
  out += ", \"";
  out += name;
  out += "\": ";
  appendJsonInteger(out, count);
}

}  // namespace

std::string checkDocument(const std::string& file, const store::CheckResult& check,
                          const MendSummary& mend) {
  std::string out = "{\"file\": ";
  appendText(out, file);
  out += check.ok() ? ", \"checked\": true" : ", \"checked\": false, \"failure\": ";
  if (!check.ok()) appendText(out, check.message());
  appendCount(out, "findings", static_cast<std::int64_t>(check.findings.size()));
  out += ", \"kinds\": [";
  for (int k = 0; k < store::findingKindCount; ++k) {
    const auto kind = static_cast<store::FindingKind>(k);
    out += k == 0 ? "\n  {\"kind\": \"" : ",\n  {\"kind\": \"";
    out += store::kindCode(kind);
    out += "\", \"name\": ";
    appendText(out, store::kindName(kind));
    std::int64_t count = 0;
    for (const store::Finding& finding : check.findings) count += finding.kind == kind;
    appendCount(out, "count", count);
    out += ", \"findings\": [";
    const char* separator = "\n    ";
    for (const store::Finding& finding : check.findings) {
      if (finding.kind != kind) continue;
      out += separator;
      separator = ",\n    ";
      appendFinding(out, finding);
    }
    out += count > 0 ? "\n  ]}" : "]}";
  }
  out += "\n]";
  if (mend.result) {
    const store::MendResult& result = *mend.result;
    out += ", \"mend\": {\"done\": ";
    out += result.ok() ? "true" : "false";
    appendCount(out, "removed", result.removed);
    appendCount(out, "renumbered", result.renumbered);
    appendCount(out, "timesAdded", result.timesAdded);
    if (result.ok()) {
      appendCount(out, "left", static_cast<std::int64_t>(mend.left));
    } else {
      out += ", \"failure\": ";
      appendText(out, result.message());
    }
    out += "}";
  }
  out += "}\n";
  return out;
}

}  // namespace dbtool
