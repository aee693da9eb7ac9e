#include "startup/public_variables.h"

#include <gtest/gtest.h>

namespace kestrel::startup {
namespace {

TEST(PublicVariables, OperatorStateSurvivesAReloadAndTheRestIsSetAgain) {
    common::Configuration vars;
    Directories dirs{"/srv/kadry", "/srv/kadry/FIRMA1.PK/", "/srv/kadry/", "FIRMA1.PK"};
    SetStartupVariables(&vars, dirs, "LASER               ", "FIRMA1");
    EXPECT_EQ(vars.Text("WERSJA"), "92325");
    EXPECT_EQ(vars.Text("NAGL0"), "/srv/kadry/FIRMA1.PK/");
    EXPECT_EQ(vars.Text("NAGLNAZDR"), "LASER               ");
    EXPECT_EQ(vars.Text("YIDENT"), "    ");
    EXPECT_EQ(vars.Text("PIC2"), "@E 9999,999.99");

    vars.Set("YIDENT", memfile::MemValue::Char("ADMI"));
    vars.Set("NAGL1", memfile::MemValue::Char("STARA"));
    auto saved = SavePreserved(vars);
    vars.Clear();  // the restore of the configuration clears everything
    RestorePreserved(saved, &vars);
    SetStartupVariables(&vars, dirs, "", "FIRMA1");
    EXPECT_EQ(vars.Text("YIDENT"), "ADMI");
    EXPECT_EQ(vars.Text("YPDRUK"), "LASER               ");
    EXPECT_FALSE(vars.Find("NAGL1"));
}

TEST(PublicVariables, LetterVariablesFollowTheSet) {
    common::Configuration vars;
    SetLetterVariables(&vars, common::MakeLetterSet(common::kPolishCp852));
    EXPECT_EQ(vars.Text("X_D"), "\xBD");  // Ż
    EXPECT_EQ(vars.Text("Z_M"), "\xAB");  // ź
    EXPECT_EQ(vars.Text("LP_M"), "l/");
    EXPECT_EQ(vars.Text("XP_D"), "Z-");
    SetLetterVariables(&vars, common::MakeLetterSet(common::kPolishPlain));
    EXPECT_EQ(vars.Text("X_D"), "Z");
    EXPECT_EQ(vars.Text("NAGLSORT").substr(0, 4), "AABC");
}

}  // namespace
}  // namespace kestrel::startup
