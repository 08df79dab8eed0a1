// The sample account database: an administrator with every building, and a few users with some.
#include <algorithm>

#include "inserter.h"
#include "random.h"
#include "sample.h"
#include "store/error.h"
#include "store/schema.h"
#include "store/table.h"
#include "store/text_case.h"

namespace sample {

namespace schema = store::schema;

namespace {

struct Building {
  std::string code;
  store::Value name;
  store::Value customer;
};

// The given buildings, then a few others that exist only in the account list.
std::vector<Building> accountBuildings(const std::vector<std::string>& codes,
                                       std::uint64_t variant) {
  detail::Random random(variant, detail::accountStream);
  static const std::vector<std::string> names = {
      "MAIN BUILDING",   "NORTH CAMPUS",   "ANNEX",  "CITY HALL",
      "DISTRICT OFFICE", "MEDICAL CENTER", "LIBRARY"};
  static const std::vector<std::string> customers = {"CITY SCHOOLS", "COUNTY OFFICES",
                                                     "STATE UNIVERSITY", "HARBOR HOSPITAL",
                                                     "RIVERSIDE PROPERTIES"};
  static const std::vector<std::string> others = {"ANNEX", "DEPOT",   "PLAZA",
                                                  "TOWER", "WAREHSE", "CAMPUS2"};
  std::vector<Building> buildings;
  auto add = [&](const std::string& code) {
    Building building{code, {}, {}};
    if (!random.chance(20)) building.name = random.pick(names);
    if (!random.chance(25)) building.customer = random.pick(customers);
    buildings.push_back(std::move(building));
  };
  for (const std::string& code : codes) add(code);
  int extra = 0;
  for (const std::string& code : others) {
    const bool taken = std::any_of(codes.begin(), codes.end(), [&](const std::string& given) {
      return store::toUpper(given) == code;
    });
    if (!taken && extra < 4) {
      add(code);
      ++extra;
    }
  }
  return buildings;
}

void writeUsers(store::Table& access, const std::vector<Building>& buildings, std::size_t given) {
  auto grant = [&](const char* user, const Building& building) {
    access.addNew();
    access.setField(schema::userId, store::Value(user));
    access.setField(schema::buildingCode, store::Value(building.code));
    access.setField(schema::buildingName, building.name);
    access.setField(schema::customerName, building.customer);
    access.update();
  };
  for (const Building& building : buildings) grant("ADMIN", building);
  // USER1: the first building and one other; USER2: other buildings only; USER3: the given ones.
  if (given > 0) grant("USER1", buildings[0]);
  if (buildings.size() > given) grant("USER1", buildings[given]);
  for (std::size_t i = given + 1; i < buildings.size() && i <= given + 2; ++i)
    grant("USER2", buildings[i]);
  for (std::size_t i = 0; i < given; ++i) grant("USER3", buildings[i]);
}

}  // namespace

void writeAccount(const std::string& path, const std::vector<std::string>& buildingCodes,
                  std::uint64_t variant) {
  const std::vector<Building> buildings = accountBuildings(buildingCodes, variant);
  store::Database db = store::Database::create(path);
  try {
    db.begin();
    db.createTable(schema::accountTable());
    {
      store::Table access = db.openTable(schema::userAccess);
      writeUsers(access, buildings, buildingCodes.size());
    }
    db.commit();
    db.close();
  } catch (...) {
    try {
      db.rollback();
    } catch (const store::Error&) {
      // Goes on: the files are removed next, and the failure that ended the writing is told.
    }
    db.close();
    detail::removeDatabaseFiles(path);
    throw;
  }
}

}  // namespace sample
