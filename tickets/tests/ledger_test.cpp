#include "ledger.h"

#include <gtest/gtest.h>

namespace trotix {
namespace {

constexpr std::string_view kCard = "078/039/1/3.0,052/087/3/2.6,050/050/2/4.1,061/033/4/5.0,045/070/1/3.9,090/020/2/4.4";

std::string Line(std::string_view order, std::string_view tickets, std::string_view end = "10100;0;1;S") {
  return "2026-12-10 10:40:12;" + std::string(kCard) + ";" + std::string(order) + ";" + std::string(tickets) +
         ";" + std::string(end);
}

TEST(LedgerLine, WritesWhatItReads) {
  RaceCard card;
  for (std::size_t i = 0; i < kHorseCount; ++i) card.horses[i] = {78.4, 39, 1, 3.04};
  Ticket win{TicketKind::kWin, 3, 3, 100, 30, 300};
  Ticket pair{TicketKind::kQuinella, 1, 3, 200, 75, 0};
  for (const bool settled : {true, false}) {
    const LedgerEntry entry = MakeLedgerEntry("2026-12-10 10:40:12", card, {win, pair},
                                              settled ? std::optional<BoardOrder>({3, 0}) : std::nullopt, 9900, 2, true);
    const std::string line = LedgerLineText(entry);
    EXPECT_EQ(line, settled ? "2026-12-10 10:40:12;078/039/1/3.0,078/039/1/3.0,078/039/1/3.0,078/039/1/3.0,"
                              "078/039/1/3.0,078/039/1/3.0;4-1;W4:100@3.0=300,Q2-4:200@7.5=0;9900;2;1;S"
                            : "2026-12-10 10:40:12;078/039/1/3.0,078/039/1/3.0,078/039/1/3.0,078/039/1/3.0,"
                              "078/039/1/3.0,078/039/1/3.0;-;W4:100@3.0=-,Q2-4:200@7.5=-;9900;2;1;U");
    const auto back = ParseLedgerLine(line);
    ASSERT_TRUE(back);
    EXPECT_EQ(LedgerLineText(*back), line);
  }
}

TEST(LedgerLine, RefusesALineOutOfShape) {
  const std::string bad[] = {
      Line("4-2", "W4:100@3.0=300", "10100;0;1"),       // a field short
      Line("4-2", "W4:100@3.0=300", "10100;0;1;S;x"),   // one too many
      Line("4-4", "W4:100@3.0=300"),                    // one horse twice
      Line("4-7", "W4:100@3.0=300"),                    // no horse 7
      Line("4-2", "W4:150@3.0=300"),                    // not a step of 100
      Line("4-2", "W4:100@3.05=300"),                   // two decimals
      Line("4-2", "Q4-2:100@3.0=300"),                  // a pair out of order
      Line("4-2", "X4:100@3.0=300"),                    // no such kind
      Line("4-2", "W4:100@3.0=-"),                      // settled without a payout
      Line("-", "W4:100@3.0=300", "10100;0;1;U"),       // unsettled with one
      Line("4-2", "W4:100@3.0=300", "-5;0;1;S"),        // a negative purse
      Line("4-2", "W4:100@3.0=300", "10100;0;2;S"),     // a flag that is neither
      Line("4-2", "W4:100@3.0=3").substr(0, 60),        // a line cut short
      "",
  };
  for (const std::string& line : bad) {
    SCOPED_TRACE(line);
    EXPECT_FALSE(ParseLedgerLine(line));
  }
  EXPECT_TRUE(ParseLedgerLine(Line("4-2", "-")));
}

TEST(LedgerText, ReadsAWholeLedgerOrRefusesIt) {
  const std::string good = Line("4-2", "W4:100@3.0=300");
  const struct {
    const char* what;
    std::string text;
    bool ok;
    std::size_t races;
    std::int64_t purse;
    std::string problem;
  } cases[] = {
      {"empty: a new purse", "", true, 0, kPurseStart, ""},
      {"good", "[Ledger]\r\nPurse=700\r\nRefills=3\r\nRace1=" + good + "\r\nRace2=" + good + "\r\n", true, 2, 700, ""},
      {"lone LF and blanks", "\n[Ledger]\nPurse = 700\n\nRace1=" + good, true, 1, 700, ""},
      {"no heading", "Purse=700\r\n", false, 0, kPurseStart, "line 1 is not the ledger's heading"},
      {"a race skipped", "[Ledger]\r\nRace2=" + good + "\r\n", false, 0, kPurseStart, "line 2 is out of place"},
      {"a truncated line", "[Ledger]\r\nRace1=" + good.substr(0, 50), false, 0, kPurseStart,
       "line 2 is not a race of the ledger"},
      {"a purse not a number", "[Ledger]\r\nPurse=lots\r\n", false, 0, kPurseStart, "line 2 holds no purse"},
      {"binary junk", std::string("[Ledger]\r\n\x01\xff\x00", 13), false, 0, kPurseStart, "line 2 is out of place"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const LedgerRead read = ReadLedgerText(c.text);
    EXPECT_EQ(read.ok, c.ok);
    EXPECT_EQ(read.entries.size(), c.races);
    EXPECT_EQ(read.purse, c.purse);
    EXPECT_EQ(read.problem, c.problem);
  }
}

// What a front end keeps whole is read back whole, the races in their turn.
TEST(LedgerText, ReadsBackWhatItWrites) {
  const auto first = ParseLedgerLine(Line("4-2", "W4:100@3.0=300"));
  const auto second = ParseLedgerLine(Line("-", "Q2-4:200@7.5=-", "9800;1;0;U"));
  ASSERT_TRUE(first && second);
  EXPECT_EQ(LedgerText(10'000, 0, {}), "[Ledger]\r\nPurse=10000\r\nRefills=0\r\n");
  const std::string text = LedgerText(9'800, 1, {*first, *second});
  EXPECT_EQ(text, "[Ledger]\r\nPurse=9800\r\nRefills=1\r\nRace1=" + LedgerLineText(*first) + "\r\nRace2=" +
                      LedgerLineText(*second) + "\r\n");
  const LedgerRead read = ReadLedgerText(text);
  ASSERT_TRUE(read.ok) << read.problem;
  EXPECT_EQ(read.purse, 9'800);
  EXPECT_EQ(read.refills, 1);
  ASSERT_EQ(read.entries.size(), 2u);
  EXPECT_EQ(LedgerLineText(read.entries[1]), LedgerLineText(*second));
}

TEST(LedgerCsv, QuotesByRfc4180) {
  const struct {
    std::string_view in;
    std::string_view out;
  } fields[] = {
      {"plain", "plain"}, {"a,b", "\"a,b\""}, {"say \"x\"", "\"say \"\"x\"\"\""},
      {"two\r\nlines", "\"two\r\nlines\""}, {"lf\n", "\"lf\n\""}, {"", ""},
  };
  for (const auto& f : fields) EXPECT_EQ(CsvField(f.in), f.out);
}

TEST(LedgerCsv, OneRecordPerTicketEndedByCrLf) {
  const auto settled = ParseLedgerLine(Line("4-2", "W4:100@3.0=300,Q2-4:200@7.5=1500"));
  const auto open = ParseLedgerLine(Line("-", "-", "10000;1;0;U"));
  ASSERT_TRUE(settled && open);
  const std::string csv = LedgerCsv({*settled, *open});
  const std::string card(kCard.begin(), kCard.end());
  std::string spaced = card;
  for (char& c : spaced) c = c == ',' ? ' ' : c;
  EXPECT_EQ(csv,
            "race,date,card,first,second,ticket,stake,odds,payout,purse after,refills,chances seen,settled\r\n"
            "1,2026-12-10 10:40:12," + spaced + ",4,2,単勝【4】,100,3.0,300,10100,0,yes,yes\r\n"
            "1,2026-12-10 10:40:12," + spaced + ",4,2,馬連 2-4,200,7.5,1500,10100,0,yes,yes\r\n"
            "2,2026-12-10 10:40:12," + spaced + ",,,,,,,10000,1,no,no\r\n");
}

}  // namespace
}  // namespace trotix
