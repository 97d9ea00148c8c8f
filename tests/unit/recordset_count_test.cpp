// The row count the recordset keeps for eof() and bof() must follow every add and delete.
#include <gtest/gtest.h>

#include "test_support.h"

namespace daike {
namespace {

TEST(RecordsetCount, FollowsAddsAndDeletes) {
    testing::TempStore db;
    db->execScript("INSERT INTO 公出表 VALUES ('甲'), ('乙')");
    auto rs = db->dkb("select * from 公出表");
    EXPECT_EQ(rs.recordCount(), 2);
    rs.addNew();
    rs.set(0, "丙");
    EXPECT_EQ(rs.recordCount(), 3);
    rs.remove();  // the new row, never written
    rs.moveFirst();
    rs.remove();
    rs.moveNext();
    EXPECT_EQ(rs.recordCount(), 1);
    EXPECT_FALSE(rs.eof());
    EXPECT_EQ(rs[0].text(), "乙");
    rs.remove();
    EXPECT_EQ(rs.recordCount(), 0);
    // No row left: at the end and at the start at once, wherever the cursor stood.
    EXPECT_TRUE(rs.eof());
    EXPECT_TRUE(rs.bof());
    rs.update();
    EXPECT_EQ(rs.recordCount(), 0);
    EXPECT_EQ(db.count("公出表"), 0);
    EXPECT_TRUE(db->dkb("select * from 公出表").eof());
}

}  // namespace
}  // namespace daike
