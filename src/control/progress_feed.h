#pragma once
// How often the progress window takes its turn and shows the item at hand, and where its bar stands.
#include <cstdint>
#include <optional>

#include "control/pacer.h"

namespace vh {

class ProgressFeed {
 public:
  // A run starts: the next turn and the next item are due whatever the time, so that a click made
  // just before is seen at once.
  void Restart() {
    turns_.Restart();
    items_.Restart();
  }
  // Whether the window lets its messages run now: a few dozen times a second, not at every item
  // nor at every piece of a large file.
  bool TurnDue(uint64_t nowMs) { return turns_.Due(nowMs); }
  // Whether the item is shown: as often as the eye can follow, and always once all work counts.
  bool ItemDue(uint64_t nowMs, uint64_t done, uint64_t total) { return items_.Due(nowMs) || done >= total; }

 private:
  Pacer turns_{30}, items_{33};
};

// Where the bar stands, 0 to 100, for `done` of `total`; none while there is no work to measure.
inline std::optional<int> BarPosition(uint64_t done, uint64_t total) {
  if (total == 0) return std::nullopt;
  return static_cast<int>(done * 100 / total);
}

}  // namespace vh
