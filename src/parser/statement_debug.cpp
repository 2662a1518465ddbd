// Debug text of statements and their schema records.

#include "common/utf8.h"
#include "parser/statement.h"

namespace zelvo {

namespace {

// An optional character: None, or Some('c').
struct CharOption {
  const std::optional<char32_t>& option;
  void describe(DebugWriter& w) const {
    if (!option.has_value()) {
      w.name("None");
      return;
    }
    std::string text = "'";
    utf8::encode(text, *option);
    text += '\'';
    w.tuple("Some").item(RawText{text}).finish();
  }
};

using S = Statement;

void describe_kind(DebugWriter& w, const S::Query& s) { w.tuple("Query").item(s.query).finish(); }

void describe_kind(DebugWriter& w, const S::CreateNodeTable& s) {
  w.record("CreateNodeTable").field("name", s.name).field("columns", s.columns).field("primary_key", s.primary_key).finish();
}

void describe_kind(DebugWriter& w, const S::CreateRelTable& s) {
  w.record("CreateRelTable")
      .field("name", s.name)
      .field("from_table", s.from_table)
      .field("to_table", s.to_table)
      .field("columns", s.columns)
      .finish();
}

void describe_kind(DebugWriter& w, const S::DropTable& s) {
  w.record("DropTable").field("name", s.name).field("if_exists", s.if_exists).finish();
}

void describe_kind(DebugWriter& w, const S::BeginTransaction& s) {
  w.record("BeginTransaction").field("read_only", s.read_only).finish();
}

void describe_kind(DebugWriter& w, const S::Commit&) { w.name("Commit"); }

void describe_kind(DebugWriter& w, const S::Rollback&) { w.name("Rollback"); }

void describe_kind(DebugWriter& w, const S::CreateIndex& s) {
  w.record("CreateIndex")
      .field("name", s.name)
      .field("table", s.table)
      .field("columns", s.columns)
      .field("unique", s.unique)
      .finish();
}

void describe_kind(DebugWriter& w, const S::DropIndex& s) { w.record("DropIndex").field("name", s.name).finish(); }

void describe_kind(DebugWriter& w, const S::CopyFrom& s) {
  w.record("CopyFrom").field("table", s.table).field("path", s.path).field("options", s.options).finish();
}

void describe_kind(DebugWriter& w, const S::CopyTo& s) {
  w.record("CopyTo").field("table", s.table).field("path", s.path).field("options", s.options).finish();
}

void describe_kind(DebugWriter& w, const S::Call& s) {
  w.record("Call").field("name", s.name).field("args", s.args).finish();
}

void describe_kind(DebugWriter& w, const S::Set& s) {
  w.record("Set").field("name", s.name).field("value", s.value).finish();
}

void describe_kind(DebugWriter& w, const S::Explain& s) {
  w.record("Explain")
      .field("statement", s.statement)
      .field("analyze", s.analyze)
      .field("logical", s.logical)
      .finish();
}

void describe_kind(DebugWriter& w, const S::Profile& s) {
  w.record("Profile").field("statement", s.statement).finish();
}

void describe_kind(DebugWriter& w, const S::LoadFrom& s) {
  w.record("LoadFrom").field("path", s.path).field("format", s.format).finish();
}

void describe_kind(DebugWriter& w, const S::AlterTable& s) {
  w.record("AlterTable").field("table", s.table).field("action", s.action).finish();
}

void describe_kind(DebugWriter& w, const S::CreateSequence& s) {
  w.record("CreateSequence")
      .field("name", s.name)
      .field("start", s.start)
      .field("increment", s.increment)
      .field("min_value", s.min_value)
      .field("max_value", s.max_value)
      .field("cycle", s.cycle)
      .finish();
}

void describe_kind(DebugWriter& w, const S::DropSequence& s) {
  w.record("DropSequence").field("name", s.name).field("if_exists", s.if_exists).finish();
}

void describe_kind(DebugWriter& w, const S::Attach& s) {
  w.record("Attach").field("path", s.path).field("alias", s.alias).finish();
}

void describe_kind(DebugWriter& w, const S::Detach& s) { w.record("Detach").field("name", s.name).finish(); }

void describe_kind(DebugWriter& w, const S::Use& s) { w.record("Use").field("name", s.name).finish(); }

void describe_kind(DebugWriter& w, const S::ExportDatabase& s) {
  w.record("ExportDatabase").field("path", s.path).finish();
}

void describe_kind(DebugWriter& w, const S::ImportDatabase& s) {
  w.record("ImportDatabase").field("path", s.path).finish();
}

void describe_kind(DebugWriter& w, const S::CreateMacro& s) {
  w.record("CreateMacro").field("name", s.name).field("parameters", s.parameters).field("body", s.body).finish();
}

void describe_kind(DebugWriter& w, const S::CreateType& s) {
  w.record("CreateType").field("name", s.name).field("definition", s.definition).finish();
}

void describe_action(DebugWriter& w, const AlterAction::AddColumn& a) { w.tuple("AddColumn").item(a.column).finish(); }

void describe_action(DebugWriter& w, const AlterAction::DropColumn& a) {
  w.record("DropColumn").field("column", a.column).finish();
}

void describe_action(DebugWriter& w, const AlterAction::RenameColumn& a) {
  w.record("RenameColumn").field("old_name", a.old_name).field("new_name", a.new_name).finish();
}

void describe_action(DebugWriter& w, const AlterAction::RenameTable& a) {
  w.record("RenameTable").field("new_name", a.new_name).finish();
}

void describe_action(DebugWriter& w, const AlterAction::AlterColumnDefault& a) {
  w.record("AlterColumnDefault").field("column", a.column).field("default", a.default_value).finish();
}

void describe_action(DebugWriter& w, const AlterAction::DropColumnDefault& a) {
  w.record("DropColumnDefault").field("column", a.column).finish();
}

}  // namespace

void ColumnDefinition::describe(DebugWriter& w) const {
  w.record("ColumnDefinition")
      .field("name", name)
      .field("data_type", data_type)
      .field("default", default_value)
      .field("flag", flag)
      .finish();
}

void AlterAction::describe(DebugWriter& w) const {
  std::visit([&w](const auto& action) { describe_action(w, action); }, node);
}

void TypeDefinition::describe(DebugWriter& w) const {
  if (const auto* fields = std::get_if<Struct>(&node)) {
    w.tuple("Struct").item(fields->fields).finish();
  } else if (const auto* values = std::get_if<Enum>(&node)) {
    w.tuple("Enum").item(values->values).finish();
  } else {
    w.tuple("Alias").item(std::get<Alias>(node).type).finish();
  }
}

void CopyOptions::describe(DebugWriter& w) const {
  DebugWriter::Record record = w.record("CopyOptions");
  record.field("char_options", std::vector<CharOption>{CharOption{char_options[0]}, CharOption{char_options[1]},
                                                       CharOption{char_options[2]}});
  record.field("flag_option", flag_option).finish();
}

void Statement::describe(DebugWriter& w) const {
  std::visit([&w](const auto& statement) { describe_kind(w, statement); }, node);
}

}  // namespace zelvo
