// Internal: how the store's own units reach the connection behind a Database.
#pragma once

#include <memory>
#include <utility>

#include "store/database.h"

namespace store::detail {

class Connection;

struct Access {
  static Connection& connection(const Database& db) { return db.connection(); }
  static Database database(std::shared_ptr<Connection> connection) {
    return Database(std::move(connection));
  }
};

}  // namespace store::detail
