#include "common/checks/identifiers.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "platform/codepage/cp852.h"

namespace kestrel::common {
namespace {

// The valid numbers below were computed by hand or by a separate script from
// the published check rules; the accounts are checked against the plain
// modulo-97 computation of the whole number.

struct Bad {
    std::string_view text;
    int result;
};

struct BadText {
    std::string_view text;
    const char* why;
};

TEST(Nip, Valid) {
    const std::string_view kValid[] = {
        "8219935180",    "1909378658", "7975432317",
        "821-993-51-80",  // XXX-XXX-XX-XX
        "821-99-35-180",  // XXX-XX-XX-XXX
        "8219935180   ",  // padded to the width of a field
    };
    for (std::string_view t : kValid) EXPECT_EQ(CheckNip(t), kIdValid) << t;
}

TEST(Nip, Errors) {
    const Bad kErrors[] = {
        {"", kIdBadForm},
        {"821993518", kIdBadForm},
        {"82199351801", kIdBadForm},
        {"8219-935-180", kIdBadForm},   // dash after the fourth digit
        {"8219-93-51-80", kIdBadForm},  // thirteen, but the first dash at 5
        {"821-993-5-180", kIdBadForm},  // dashes at 4, 8, 10
        {"821-993-5180-", kIdBadForm},  // dashes at 4, 8, 13
        {"821-99351-80", kIdBadForm},
        {"821 993 51 80", kIdBadForm},
        {" 8219935180", kIdBadForm},
        {"821993518A", kIdBadForm},
        {"8219935\xA5"
         "80",
         kIdBadForm},  // a CP852 letter is not a digit
        {"8219935181", kIdBadCheckDigit},
        {"821-993-51-81", kIdBadCheckDigit},
        {"1862527600", kIdBadCheckDigit},  // remainder 10 is not taken as 0
        {"186-252-76-00", kIdBadCheckDigit},
        {"1862527609", kIdBadCheckDigit},
    };
    for (const Bad& c : kErrors) EXPECT_EQ(CheckNip(c.text), c.result) << c.text;
}

TEST(Regon, Valid) {
    const std::string_view kValid[] = {
        "189555978",      "497465076",
        "971147100",  // remainder 10 counts as 0
        "71276842568465", "56321223030793",
        "52917034023660",  // remainder 10 counts as 0 in the long check
        "189555978     ",  // nine digits in a fourteen-wide field
    };
    for (std::string_view t : kValid) EXPECT_EQ(CheckRegon(t), kIdValid) << t;
}

TEST(Regon, Errors) {
    const Bad kErrors[] = {
        {"", kIdBadForm},
        {"18955597", kIdBadForm},
        {"1895559780", kIdBadForm},
        {"7127684256846", kIdBadForm},
        {"712768425684650", kIdBadForm},
        {"189-555-978", kIdBadForm},
        {"18955597A", kIdBadForm},
        {"189555979", kIdBadCheckDigit},
        {"971147101", kIdBadCheckDigit},
        {"71276842568466", kIdBadCheckDigit},  // fourteenth digit wrong
        {"71276842684655", kIdBadCheckDigit},  // long check right, ninth digit wrong
    };
    for (const Bad& c : kErrors) EXPECT_EQ(CheckRegon(c.text), c.result) << c.text;
}

TEST(Pesel, Valid) {
    const std::string_view kValid[] = {
        "44051401359",
        "02270803624",
        "59013962450",  // 10 - 0 counts as 0
        "44051401359 ",
    };
    for (std::string_view t : kValid) EXPECT_EQ(CheckPesel(t), kIdValid) << t;
}

TEST(Pesel, Errors) {
    const Bad kErrors[] = {
        {"", kIdBadForm},
        {"4405140135", kIdBadForm},  // ten digits
        {"440514013590", kIdBadForm},
        {"4405140135X", kIdBadForm},
        {"440514-01359", kIdBadForm},
        {"44051401358", kIdBadCheckDigit},
        {"59013962451", kIdBadCheckDigit},
    };
    for (const Bad& c : kErrors) EXPECT_EQ(CheckPesel(c.text), c.result) << c.text;
}

TEST(BankAccount, Valid) {
    const std::string_view kValid[] = {
        "61109010140000071219812874",
        "61 1090 1014 0000 0712 1981 2874",
        "61-10901014-0000071219812874",      // dashes at 3 and 12
        "61-1090-1014-0000-0712-1981-2874",  // dash at 3, not at 12
        "6110-9010-1400-0007-1219-8128-74",  // dashes elsewhere are dropped
        "93101010230996030824628194",
        // Old form: sort code, dash, account; only the sort code is checked.
        "10901014-0000071219812874",
        "1090 1014-123",
        "10901014-",
        // Other lengths between 19 and 22 get no account check.
        "1210901014123456789",
        "1210901014123456789012",
    };
    for (std::string_view t : kValid) EXPECT_EQ(CheckBankAccount(t), kIdValid) << t;
}

TEST(BankAccount, Errors) {
    const Bad kErrors[] = {
        {"", kIdBadForm},
        {"    ", kIdBadForm},
        {"--", kIdBadForm},
        {"1234", kIdBadForm},
        {"121090101", kIdBadForm},  // ends inside the sort code
        {"PL61109010140000071219812874", kIdBadForm},
        {"61.1090.1014.0000.0712.1981.2874", kIdBadForm},
        {"61109010140000071219812\xA5"
         "74",
         kIdBadForm},
        {"61109010150000071219812874", kIdBadCheckDigit},  // sort code 10901015
        {"10901015-0000071219812874", kIdBadCheckDigit},
        {"12109010151234", kIdBadCheckDigit},  // the sort code is judged before the length
        {"62109010140000071219812874", kIdBadAccountCheck},
        {"61109010140000071219812847", kIdBadAccountCheck},  // last two digits swapped
        {"61 1090 1014 0000 0712 1981 2875", kIdBadAccountCheck},
        {"121090101412345678", kIdBadAccountLength},           // 18
        {"12109010141234567890123", kIdBadAccountLength},      // 23
        {"6110901014000007121981287", kIdBadAccountLength},    // 25
        {"611090101400000712198128740", kIdBadAccountLength},  // 27
    };
    for (const Bad& c : kErrors) EXPECT_EQ(CheckBankAccount(c.text), c.result) << c.text;
}

TEST(Iban, Valid) {
    const std::string_view kValid[] = {
        "PL61109010140000071219812874",
        "PL61 1090 1014 0000 0712 1981 2874",
        "61109010140000071219812874",  // Polish without the country code
        "61-1090-1014-0000-0712-1981-2874",
        "pl61 1090 1014 0000 0712 1981 2874",  // small letters are skipped
        "DE89370400440532013000",
        "GB82WEST12345698765432",
        "NO9386011117947",
        "MT84MALT011000012345MTLCAST001S",
        "LC55HEMM000100010012001200023015",
    };
    for (std::string_view t : kValid) EXPECT_TRUE(CheckIban(t)) << t;
}

TEST(Iban, Errors) {
    const BadText kErrors[] = {
        {"", "empty"},
        {"PL62109010140000071219812874", "check digits"},
        {"PL61109010140000071219812847", "swapped digits"},
        {"DE88370400440532013000", "check digits"},
        {"GB82XEST12345698765432", "a letter of the bank code"},
        {"GB82WEST12345698765433", "last digit"},
        {"MT84MALT011000012345MTLCAST001T", "last letter"},
        {"PL04", "the modulo check passes, but there is no account"},
        {"04", "the same with the country code left out"},
    };
    for (const BadText& c : kErrors) EXPECT_FALSE(CheckIban(c.text)) << c.text << ": " << c.why;
}

TEST(ZusAccount, Valid) {
    const std::string_view kValid[] = {
        "10600000020265260181590830",
        "PL10600000020265260181590830",
        "PL10 6000 0002 0265 2601 8159 0830",
        "78 6000 0002 0261 6613 1860 9139",
    };
    for (std::string_view t : kValid) EXPECT_TRUE(CheckZusAccount(t)) << t;
}

TEST(ZusAccount, Errors) {
    const BadText kErrors[] = {
        {"", "empty"},
        {"PL", "no number"},
        {"10-6000-0002-0265-2601-8159-0830", "dashes are not skipped"},
        {"pl10600000020265260181590830", "small letters"},
        {"PL10600000020265260181590831", "check digits"},
        {"93101010230996030824628194", "a valid account of another bank"},
        {"PL93101010230996030824628194", "the same with the country code"},
    };
    for (const BadText& c : kErrors) {
        EXPECT_FALSE(CheckZusAccount(c.text)) << c.text << ": " << c.why;
    }
}

TEST(MobilePhone, Valid) {
    const std::string_view kValid[] = {
        "451234567", "501234567",   "511234567",   "531234567",    "571234567", "601234567",
        "661234567", "691234567",   "721234567",   "731234567",    "781234567", "791234567",
        "881234567", "600 123 456", "600-123-456", "60-01-23-456",
    };
    for (std::string_view t : kValid) EXPECT_TRUE(CheckMobilePhone(t)) << t;
}

TEST(MobilePhone, Errors) {
    const BadText kErrors[] = {
        {"", "empty"},
        {"221234567", "a land line"},
        {"461234567", "prefix not in the list"},
        {"891234567", "prefix not in the list"},
        {"6001234567", "ten digits"},
        {"60012345", "eight digits"},
        {"+48600123456", "country prefix"},
        {"48600123456", "country prefix without the plus"},
        {"600.123.456", "full stops"},
        {"6001234a6", "a letter"},
        {"600\xA5"
         "12345",
         "a CP852 letter"},
    };
    for (const BadText& c : kErrors) {
        EXPECT_FALSE(CheckMobilePhone(c.text)) << c.text << ": " << c.why;
    }
}

TEST(IdentifierNotes, TextsForEachResult) {
    const struct {
        int result;
        std::string_view number_note;
        std::string_view account_note;
    } kNotes[] = {
        {kIdValid, "", ""},
        {kIdBadForm, "- błędny format", "- błąd"},
        {kIdBadCheckDigit, "- błędny numer", "- błędny nr"},
        {kIdBadAccountCheck, "", "- błęda liczba kontrolna"},
        {kIdBadAccountLength, "", "- błęda długość"},
    };
    for (const auto& n : kNotes) {
        EXPECT_EQ(codepage::ToUtf8(NumberNote(n.result)), n.number_note) << n.result;
        EXPECT_EQ(codepage::ToUtf8(BankAccountNote(n.result)), n.account_note) << n.result;
    }
    EXPECT_EQ(BankAccountNote(kIdBadForm),
              "- b\x88\xA5"
              "d");  // CP852 bytes, as shown on screen
}

// Short, odd and random texts: every check answers within its results.
TEST(IdentifierChecks, AnyTextGetsAnAnswer) {
    std::vector<std::string> texts = {"-",
                                      " ",
                                      "--------",
                                      "        -",
                                      "  -  -  -",
                                      std::string(200, '9'),
                                      std::string(40, 'Z')};
    for (int b = 0; b < 256; ++b) texts.push_back(std::string(1, static_cast<char>(b)));
    const std::string_view kWhole[] = {"PL61 1090-1014-0000-0712-1981-2874", "821-993-51-80",
                                       "10901014-0000071219812874", "61-10901014-000007121981"};
    for (std::string_view w : kWhole) {
        for (size_t n = 0; n <= w.size(); ++n) texts.emplace_back(w.substr(0, n));
    }
    std::mt19937 random(2026);
    const std::string_view kAlphabet = "0123456789-- PLZ\xA5\xFF";
    for (int i = 0; i < 2000; ++i) {
        std::string t(random() % 40, ' ');
        for (char& c : t) c = kAlphabet[random() % kAlphabet.size()];
        texts.push_back(t);
    }

    for (const std::string& t : texts) {
        EXPECT_GE(CheckNip(t), kIdValid);
        EXPECT_LE(CheckNip(t), kIdBadCheckDigit);
        EXPECT_GE(CheckRegon(t), kIdValid);
        EXPECT_LE(CheckRegon(t), kIdBadCheckDigit);
        EXPECT_GE(CheckPesel(t), kIdValid);
        EXPECT_LE(CheckPesel(t), kIdBadCheckDigit);
        EXPECT_GE(CheckBankAccount(t), kIdValid);
        EXPECT_LE(CheckBankAccount(t), kIdBadAccountLength);
        CheckIban(t);
        CheckZusAccount(t);
        CheckMobilePhone(t);
    }
}

}  // namespace
}  // namespace kestrel::common
