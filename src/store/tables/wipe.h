// 所有数据清空: every table emptied except the first day of term, the exempt teachers, the
// password, the pay per lesson, the periods' clock times and the rules on cover.
#pragma once

namespace daike {

class Store;

namespace tables {
void emptyAllButSettings(Store& store);
}

}  // namespace daike
