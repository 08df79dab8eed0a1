#include "catalog.h"

namespace sample::detail {

const std::vector<RoomKind>& roomKinds() {
  static const std::vector<RoomKind> kinds = {
      {{"OFFICE", "OFFICE", "OFFICE", "EXEC OFFICE", "OPEN OFFICE", "PRIVATE OFFICE"},
       "OFF",
       "OFFICE",
       30,
       0,
       180,
       60},
      {{"RESTROOM MEN", "RESTROOM WOMEN", "UNISEX RESTROOM"}, "RR", "RESTROOM", 6, 160, 0, 0},
      {{"CONF RM 1", "CONF RM 2", "CONF RM 3", "CONF RM 4", "BOARD ROOM", "HUDDLE ROOM"},
       "CNF",
       "CONFERENCE",
       8,
       0,
       420,
       90},
      {{"CORRIDOR", "HALLWAY", "ELEVATOR LOBBY"}, "COR", "CORRIDOR", 5, 900, 0, 220},
      {{"LOBBY", "RECEPTION", "VESTIBULE"}, "LOB", "LOBBY", 2, 650, 120, 0},
      {{"BREAK ROOM", "KITCHEN", "VENDING AREA"}, "BRK", "BREAK ROOM", 5, 280, 0, 0},
      {{"STORAGE", "FILE ROOM", "SUPPLY ROOM", "COPY ROOM"}, "STO", "STORAGE", 8, 150, 0, 0},
      {{"MECHANICAL", "ELECTRICAL", "SERVER ROOM", "TELECOM"}, "MEC", "MECHANICAL", 5, 220, 0, 0},
      {{"JANITOR CLOSET"}, "JAN", "JANITOR", 2, 40, 0, 0},
      {{"CLASSROOM", "TRAINING RM", "COMPUTER LAB"}, "CLS", "CLASSROOM", 7, 0, 650, 110},
      {{"LAB", "WET LAB", "DARK ROOM"}, "LAB", "LABORATORY", 4, 520, 0, 0},
      {{"STAIRWELL"}, "STR", "STAIRS", 3, 180, 0, 0},
      {{"LOCKER ROOM", "SHOWER ROOM"}, "LCK", "LOCKER ROOM", 2, 380, 0, 0},
  };
  return kinds;
}

int kindNamed(const std::string& schedulePrefix) {
  const auto& kinds = roomKinds();
  for (std::size_t i = 0; i < kinds.size(); ++i) {
    if (kinds[i].schedulePrefix == schedulePrefix) return static_cast<int>(i);
  }
  return 0;
}

const std::vector<int>& wingCoreKinds() {
  static const std::vector<int> core = {kindNamed("COR"), kindNamed("RR"), kindNamed("RR"),
                                        kindNamed("JAN"), kindNamed("STR")};
  return core;
}

const std::vector<std::string>& scheduleVariants() {
  static const std::vector<std::string> variants = {"DAILY", "NIGHT CREW", "LIGHT DUTY"};
  return variants;
}

const std::vector<std::string>& tasks() {
  static const std::vector<std::string> list = {
      "Empty trash and replace liners",
      "Vacuum carpet",
      "Dust mop hard floors",
      "Damp mop hard floors",
      "Clean and sanitize fixtures",
      "Restock paper and soap",
      "Clean mirrors and glass",
      "Spot clean walls and doors",
      "Dust horizontal surfaces",
      "Wipe tables and chairs",
      "Clean whiteboards",
      "Sweep stairs and landings",
      "Wipe handrails",
      "Clean counters and sinks",
      "Clean microwave and appliances",
      "Empty recycling",
      "Burnish floor",
      "Strip and wax floor",
      "Shampoo carpet",
      "High dusting",
      "Clean vents and diffusers",
      "Disinfect door handles",
      "Clean drinking fountains",
      "Polish metal surfaces",
  };
  return list;
}

const std::vector<std::string>& frequencies() {
  static const std::vector<std::string> list = {"DAILY",   "DAILY",     "DAILY",
                                                "WEEKLY",  "2X WEEKLY", "3X WEEKLY",
                                                "MONTHLY", "QUARTERLY", "AS NEEDED"};
  return list;
}

const std::vector<std::string>& directions() {
  static const std::vector<std::string> list = {"NORTH", "SOUTH", "EAST WING", "WEST WING",
                                                "CENTRAL"};
  return list;
}

const std::vector<std::string>& bankNames() {
  static const std::vector<std::string> list = {
      "MAIN INVENTORY",   "FLOOR CARE", "RESTROOM SUPPLIES", "WINDOWS AND GLASS",
      "SPECIAL PROJECTS", "FURNITURE",  "EQUIPMENT"};
  return list;
}

const std::vector<std::string>& employees() {
  static const std::vector<std::string> list = {
      "ADAMS, R", "BAKER, L",  "CLARK, T",  "DIAZ, M",   "EVANS, K", "FOSTER, J",
      "GREEN, P", "HAYES, D",  "IBARRA, S", "JONES, A",  "KELLY, B", "LOPEZ, C",
      "MORAN, E", "NGUYEN, H", "OWENS, G",  "PARKER, N", "QUINN, F", "REYES, V",
      "SHAW, W",  "TURNER, O", "VEGA, I",   "WARD, Y",   "YOUNG, U", "ZIMMER, Z",
  };
  return list;
}

const std::vector<std::string>& projects() {
  static const std::vector<std::string> list = {
      "STRIP AND WAX",    "CARPET SHAMPOO", "WINDOW WASHING", "HIGH DUSTING",
      "UPHOLSTERY CLEAN", "GROUT CLEANING", "PRESSURE WASH"};
  return list;
}

}  // namespace sample::detail
