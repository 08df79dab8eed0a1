// The history's own tables and limits. Their names begin with "MSys", so that the tools, which
// pass over the engine's tables, pass over them too.
#pragma once

#include <cstddef>
#include <cstdint>

namespace store::history {

// One row a run, with its changes packed in its last field.
inline constexpr const char* runsTable = "MSysRoomkitRuns";
// One row an undone run, with the time of its undo. A run's own row keeps its packed changes,
// megabytes for a large run, so that marking it there would write them all again; runs undone
// before this table was kept are marked in their own rows, in their "Undone" field.
inline constexpr const char* undoneTable = "MSysRoomkitUndone";

// The newest runs are kept: always the last 50, never more than 100, and of those before the last
// 50 only as many as keep the recorded changes of all kept runs within 64 MiB.
inline constexpr std::int64_t runsAlwaysKept = 50;
inline constexpr std::int64_t runsAtMost = 100;
inline constexpr std::int64_t bytesKept = std::int64_t{64} << 20;
// The size is looked at after every 16th run and after any run that recorded more than 1 MiB.
inline constexpr std::int64_t sizeCheckEvery = 16;
inline constexpr std::int64_t largeRunBytes = std::int64_t{1} << 20;

}  // namespace store::history
