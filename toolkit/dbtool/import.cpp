#include "import.h"

#include "new_database.h"

namespace dbtool {

ImportCounts importDocument(Input& input, const std::string& target) {
  NewDatabase file(target);
  file.db().begin();
  const ImportCounts counts = readDocument(input, file.db());
  file.finish();
  return counts;
}

}  // namespace dbtool
