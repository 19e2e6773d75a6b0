// The record-source interfaces backed by our own Jet reader: the element
// database is a Jet file and nothing of Microsoft's engine is needed.
#pragma once

#include <memory>
#include <string>

#include "jet/value.h"
#include "viewer/record_source.h"

namespace viewer {

class JetDatabaseEngine : public DatabaseEngine {
 public:
  std::unique_ptr<Database> OpenDatabase(const std::wstring& path) override;
};

// A field value as the panel shows it: text as stored, whole numbers plain,
// other numbers with a decimal comma. Null gives an empty text.
std::wstring FieldValueText(const jet::Value& value);

}  // namespace viewer
