// How the two teachers of a swap are told of it, beside the substitutes of the day's cover: the
// slip and the group's text name a swap as 调课 with both its slots, the lesson given up and the
// one taken in return ("日后还课" while the return is open).
#pragma once

#include <string>
#include <vector>

#include "store/tables/swaps.h"

namespace daike {

class Store;

namespace swapping {

// The swaps of the term with a slot on the day, the first or the return one, each once, in
// recording order.
std::vector<SwapRecord> touchingDay(Store& store, int week, int weekday);

// The swap in words, to one of its two teachers ("您") or, with `reader` "", to everyone:
// "12月9日第3节 您代张老师上一(1)语文；张老师于12月11日第2节上您的一(1)数学", one-way
// "……；张老师日后还课".
std::string toldTo(Store& store, const SwapRecord& swap, const std::string& reader);

// The day's swaps as everyone is told of them: both teachers ("李老师、张老师", the colleague
// who takes the lesson first), the class, the swap in words.
std::vector<ToldSwap> notesOfDay(Store& store, int week, int weekday);

}  // namespace swapping
}  // namespace daike
