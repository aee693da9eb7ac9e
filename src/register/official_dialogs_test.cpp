#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "headless_runtime.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "register/data/official_dictionaries.h"
#include "register/official_dialogs.h"
#include "test_util.h"

namespace kestrel::registry {
namespace {

namespace key = console::key;
using dbf::testing::ReadAll;
using dbf::testing::ScratchDir;
using dbf::testing::WriteAll;

const std::string kData = KESTREL_DATA_DIR;

struct Company {
    ScratchDir dir;
    testing::HeadlessRuntime h;
    std::vector<std::string> messages;

    Company() {
        h.rt.set_data_dir(dir.path() + "/");
        EXPECT_EQ(RebuildFromShipped(dir.path(), kData, h.rt.letters(), OfficialList::kTaxOffices),
                  "");
        // F12 pressed while a message waits captures the message row.
        h.con.keyboard().Bind(key::F(12), [this] { messages.push_back(h.Row(23).substr(1, 37)); });
    }
    void Type(const std::string& text) {
        std::vector<int> keys;
        for (unsigned char c : text) keys.push_back(c);
        h.backend.AddKeys(keys);
    }
    void Keys(const std::vector<int>& keys) { h.backend.AddKeys(keys); }
};

using base::TrimRight;

TEST(OfficialDialog, ImportRefusesADamagedFileAndLoadsAGoodOne) {
    Company c;
    const std::string before = ReadAll(c.dir.File("PKKDURZ.DBF"));
    WriteAll(c.dir.File("cut.csv"), "type,code,name\nTKodUS,0202,URZĄD SKARBOWY\nTKodUS,12");
    WriteAll(c.dir.File("good.csv"),
             "type,code,name\nTKodUS,0202,URZĄD SKARBOWY W BOLESŁAWCU\n"
             "TKodUS,1471,PIERWSZY URZĄD SKARBOWY WARSZAWA-ŚRÓDMIEŚCIE\n");
    c.Keys({key::F(9)});
    c.Type(c.dir.File("cut.csv"));
    c.Keys({key::kEnter, 't', key::F(12), ' ', key::F(9), key::kHome, key::Ctrl('y')});
    c.Type(c.dir.File("good.csv"));
    c.Keys({key::kEnter, 't', key::F(12), ' ', key::kEsc});
    Qrm2c3(c.h.rt);

    ASSERT_EQ(c.messages.size(), 2u);
    EXPECT_EQ(TrimRight(c.messages[0]), "Zła liczba pól: wiersz 3");
    EXPECT_EQ(TrimRight(c.messages[1]), "Wczytano pozycji: 2");
    EXPECT_NE(ReadAll(c.dir.File("PKKDURZ.DBF")), before);
    // The browse shows the new list.
    EXPECT_NE(c.h.Row(10).find("│0202 │ URZĄD SKARBOWY W BOLESŁAWCU "), std::string::npos);
    EXPECT_NE(c.h.Row(11).find("│1471 │ PIERWSZY URZĄD"), std::string::npos);
    EXPECT_EQ(c.h.Row(12).find_first_of("0123456789"), std::string::npos);
}

TEST(OfficialDialog, WithoutTheRightToChangeThereIsNoImport) {
    Company c;
    const std::string before = ReadAll(c.dir.File("PKKDURZ.DBF"));
    c.h.rt.operators().list_exists = true;
    c.h.rt.operators().rights = common::RightBit(6);  // enters, changes nothing
    c.Keys({key::F(9), key::kEnter, 't', key::kEsc});
    Qrm2c3(c.h.rt);
    EXPECT_EQ(c.h.Row(21).find("F9"), std::string::npos);
    EXPECT_NE(c.h.Row(21).find("<Esc>-Wyjście"), std::string::npos);
    EXPECT_EQ(ReadAll(c.dir.File("PKKDURZ.DBF")), before);
}

}  // namespace
}  // namespace kestrel::registry
