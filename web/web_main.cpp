// The game in a page: the main window's handlers exported to the page's
// script through the page's adapter, and the page's timer, clock, canvas and
// boxes imported from it (page_imports.js).
#include <emscripten.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "card_chances.h"
#include "field_file.h"
#include "front_end.h"
#include "frm_main.h"
#include "main_window_layout.h"
#include "profile_file.h"
#include "sim_options.h"
#include "texts.h"
#include "ticket_book.h"
#include "track.h"

extern "C" {
double trotix_page_clock_seconds();
void trotix_page_start_timer(int interval_ms);
void trotix_page_stop_timer();
void trotix_page_present(const trotix::Pixel* pixels, int width, int height, int stride_bytes);
void trotix_page_show_listing(const char* title, const char* text);
void trotix_page_show_notice(const char* notice, int notice_bytes, int name_bytes);
void trotix_page_announce(const char* text);
void trotix_page_toggle_tickets();
double trotix_page_local_ms();
}

namespace trotix::web {
namespace {

class PageClock final : public Clock {
 public:
  float SecondsSinceMidnight() override { return static_cast<float>(trotix_page_clock_seconds()); }
};

class Page final : public PageHost {
 public:
  void StartTimer(int interval_ms) override { trotix_page_start_timer(interval_ms); }
  void StopTimer() override { trotix_page_stop_timer(); }
  void Present(const Surface& window) override {
    trotix_page_present(window.data(), window.width(), window.height(),
                        window.stride() * static_cast<int>(sizeof(Pixel)));
  }
  void ShowFieldListing(std::string_view title, std::string_view text) override {
    trotix_page_show_listing(std::string(title).c_str(), std::string(text).c_str());
  }
  // By length: a name may hold a NUL.
  void ShowFieldFileNotice(std::string_view notice, std::size_t name_bytes) override {
    trotix_page_show_notice(notice.data(), static_cast<int>(notice.size()), static_cast<int>(name_bytes));
  }
  void Announce(std::string_view text) override { trotix_page_announce(std::string(text).c_str()); }
  void ToggleTickets() override { trotix_page_toggle_tickets(); }
  std::string LocalDate() override { return LocalDateText(trotix_page_local_ms()); }
};

PageClock clock;
Page page;
FrontEnd front_end(clock, page);

// A horse data file on its way in: its name, then its first bytes; or a
// text for the tickets (a stake, a kept ledger).
std::string incoming;

}  // namespace
}  // namespace trotix::web

using trotix::web::front_end;
using trotix::web::incoming;

namespace {
trotix::frmMain& form() { return front_end.form(); }
std::string board_text;  // the last board text handed out, alive until the next
std::string tickets_text;  // the last text of the tickets handed out, alive until the next
double chances_in[3 * trotix::kHorseCount + trotix::sim::kCardChancesNumbers];  // the lab's chances on their way in
char* Handed(std::string text) {
  tickets_text = std::move(text);
  return tickets_text.data();
}
trotix::web::PageTickets& tickets() { return front_end.tickets(); }
// The text the page wrote into the room, taken out of it.
std::string Incoming(int bytes) {
  std::string text = incoming.substr(0, static_cast<std::size_t>(bytes));
  incoming = std::string();
  return text;
}

// The race card's field as trotix_card_field() lays it out: whether it comes
// from the file, whether it races now, then six speeds, six staminas and six
// styles.
constexpr std::size_t kFieldValues = 2 + 3 * trotix::kHorseCount;


// What the page must know of the game before it can talk to it, once, as
// JSON: the keys it passes on, what the file outcomes mean, the field's
// layout, the distance bar's full length, the seeds a double carries exactly
// (those the lab takes too), the most races the lab runs at once, and for
// the tickets their kinds' names, the horses, the stake's step, the
// largest ledger kept (the desktop's too) and the exported ledger's name.
std::string PageFacts() {
  using trotix::FieldFileTaken;
  const auto number = [](auto value) { return std::to_string(static_cast<long long>(value)); };
  std::string json = R"({"keys":{"run":)" + number(trotix::kVkF5) + R"(,"field":)" + number(trotix::kVkF7) +
                     R"(,"tickets":)" + number(trotix::kVkF6) + "},";
  json += R"("tickets":{"kinds":[")" + std::string(trotix::kWinName) + R"(",")" + std::string(trotix::kQuinellaName) +
          R"("],"horses":)" + number(trotix::kHorseCount) + R"(,"stakeStep":)" + number(trotix::kStakeStep) +
          R"(,"ledgerMaxBytes":)" + number(trotix::kProfileFileReadLimit) +
          R"(,"chancesNumbers":)" + number(trotix::sim::kCardChancesNumbers) + R"(,"csvName":")" +
          std::string(trotix::kLedgerCsvName) + R"("},)";
  json += R"("fileTaken":{"refused":)" + number(FieldFileTaken::kRefused) + R"(,"setUpNow":)" +
          number(FieldFileTaken::kSetUpNow) + R"(,"nextRace":)" + number(FieldFileTaken::kNextRace) + "},";
  json += R"("fieldValues":)" + number(kFieldValues) + R"(,"raceMetres":)" + number(trotix::kRaceMetres);
  json += R"(,"seedLimit":)" + number(trotix::sim::kExactSeedLimit);
  return json + R"(,"labMaxRaces":)" + number(trotix::sim::kMaxRaces) + "}";
}
std::string page_facts;
}  // namespace

extern "C" {

// The facts the page reads once, at start (PageFacts).
EMSCRIPTEN_KEEPALIVE const char* trotix_page_facts() {
  page_facts = PageFacts();
  return page_facts.c_str();
}

// The seed comes as a double: the page's integers are exact up to 2^53.
EMSCRIPTEN_KEEPALIVE void trotix_load(double seed) { form().Form_Load(static_cast<std::uint64_t>(seed)); }
EMSCRIPTEN_KEEPALIVE void trotix_timer() { form().Timer1_Timer(); }
EMSCRIPTEN_KEEPALIVE void trotix_key_up(int key_code) { form().Form_KeyUp(static_cast<std::int16_t>(key_code), 0); }
EMSCRIPTEN_KEEPALIVE void trotix_click(int x, int y) { front_end.Click(x, y); }
EMSCRIPTEN_KEEPALIVE void trotix_run() { form().PressRun(); }

// The window's state, for the page's own controls and its live region.
EMSCRIPTEN_KEEPALIVE int trotix_listing_offered() { return form().ListingOffered() ? 1 : 0; }
EMSCRIPTEN_KEEPALIVE int trotix_distance() { return form().controls().bar_value; }
// The distance still to run as the bar's caption says it: never below 0
// (after the winner's finish the distance goes negative), never above the race.
EMSCRIPTEN_KEEPALIVE int trotix_distance_left() {
  return std::stoi(trotix::DistanceCaption(form().controls().bar_value, static_cast<int>(trotix::kRaceMetres)));
}
EMSCRIPTEN_KEEPALIVE int trotix_bar_colour() { return static_cast<int>(form().controls().bar_colour); }
EMSCRIPTEN_KEEPALIVE char* trotix_board_text() {
  board_text = form().BoardText();
  return board_text.data();
}

// A horse data file: the page reads at most this many of its first bytes,
// asks for room for the name and the bytes, writes them there and opens it.
// Opening says what became of it: 0 refused, 1 set up now, 2 at the next Run.
EMSCRIPTEN_KEEPALIVE int trotix_field_file_bytes() { return static_cast<int>(trotix::kFieldFileReadLimit + 1); }
EMSCRIPTEN_KEEPALIVE char* trotix_field_file_room(int name_bytes, int content_bytes) {
  incoming.assign(static_cast<std::size_t>(name_bytes) + static_cast<std::size_t>(content_bytes), '\0');
  return incoming.data();
}
EMSCRIPTEN_KEEPALIVE int trotix_open_field_file(int name_bytes) {
  const std::string_view file = incoming;
  const auto split = static_cast<std::size_t>(name_bytes);
  const trotix::FieldFileTaken taken = front_end.OpenFieldFile(file.substr(0, split), file.substr(split));
  incoming = std::string();
  return static_cast<int>(taken);
}
EMSCRIPTEN_KEEPALIVE void trotix_forget_field_file() { front_end.ForgetFieldFile(); }
// 1 while the file chosen last waits for the next Run, else 0.
EMSCRIPTEN_KEEPALIVE int trotix_field_file_waits_for_run() { return form().FieldFileWaitsForRun() ? 1 : 0; }
// A folder given as the horse data file, its name in the room.
EMSCRIPTEN_KEEPALIVE void trotix_refuse_field_folder(int name_bytes) {
  front_end.RefuseFieldFolder(std::string_view(incoming).substr(0, static_cast<std::size_t>(name_bytes)));
  incoming = std::string();
}

// The race card's field (frmMain::Card()), for the page's lab: the field the
// next Run races, or while a race runs the field racing. First 1 when it is
// the horse file's (frmMain::CardFromFile()), else 0; then 1 while it is
// the field racing (frmMain::CardIsRacing()), else 0; then its six speeds,
// six staminas and six styles.
EMSCRIPTEN_KEEPALIVE const double* trotix_card_field() {
  static double field[kFieldValues];
  const trotix::RaceCard card = form().Card();
  field[0] = form().CardFromFile() ? 1.0 : 0.0;
  field[1] = form().CardIsRacing() ? 1.0 : 0.0;
  for (std::size_t h = 0; h < trotix::kHorseCount; ++h) {
    const trotix::CardHorse& horse = card.horses[h];
    field[2 + h] = horse.Speed;
    field[2 + trotix::kHorseCount + h] = horse.Stamina;
    field[2 + 2 * trotix::kHorseCount + h] = horse.Style;
  }
  return field;
}

// The tickets' panel. Texts the page hands in (a stake, a kept ledger) go
// into the room (trotix_field_file_room) first, `bytes` of them.
EMSCRIPTEN_KEEPALIVE char* trotix_tickets_card() { return Handed(tickets().CardText()); }
EMSCRIPTEN_KEEPALIVE char* trotix_tickets_state() { return Handed(tickets().StateJson()); }
// "" when bought, else the refusal; horses by number, the stake in the room.
EMSCRIPTEN_KEEPALIVE char* trotix_tickets_buy(int quinella, int first, int second, int stake_bytes) {
  return Handed(tickets().Buy(quinella != 0, first, second, Incoming(stake_bytes)));
}
EMSCRIPTEN_KEEPALIVE char* trotix_tickets_take_back(int index) { return Handed(tickets().TakeBack(index)); }
EMSCRIPTEN_KEEPALIVE char* trotix_tickets_refill() { return Handed(tickets().Refill()); }
// The ledger to store whole, and how many times it has changed.
EMSCRIPTEN_KEEPALIVE char* trotix_tickets_ledger() { return Handed(tickets().LedgerText()); }
EMSCRIPTEN_KEEPALIVE int trotix_tickets_ledger_changes() { return tickets().ledger_changes(); }
// The ledger the browser kept, in the room: "" taken, else the one line why not.
EMSCRIPTEN_KEEPALIVE char* trotix_tickets_restore(int bytes) {
  return Handed(front_end.RestoreTickets(Incoming(bytes)));
}
// The lab's chances for the card: the field it raced, then its numbers
// (PageTickets::TakeChances), put in this room; 1 when the desk took them.
EMSCRIPTEN_KEEPALIVE double* trotix_tickets_chances_room() { return chances_in; }
EMSCRIPTEN_KEEPALIVE int trotix_tickets_take_chances() {
  return tickets().TakeChances(chances_in, chances_in + 3 * trotix::kHorseCount) ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE char* trotix_tickets_csv() { return Handed(tickets().Csv()); }
// The purse after every race of the ledger as SVG: 1 narrow, 0 wide.
EMSCRIPTEN_KEEPALIVE char* trotix_tickets_purse_chart(int narrow) {
  return Handed(tickets().PurseChart(narrow != 0 ? trotix::sim::ChartLayout::kNarrow : trotix::sim::ChartLayout::kWide));
}

// For the page's test hook.
EMSCRIPTEN_KEEPALIVE int trotix_phase() { return form().race().Phase; }
EMSCRIPTEN_KEEPALIVE double trotix_ticks() { return static_cast<double>(form().ticks()); }
EMSCRIPTEN_KEEPALIVE int trotix_run_enabled() { return form().run_enabled() ? 1 : 0; }

}
