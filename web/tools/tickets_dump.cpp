// What the page's tickets must show for one seeded race with the given
// tickets, made natively from the same adapter over the main window:
// loaded, the tickets bought on the card, F5, then one tick every interval
// of scripted time until the board. The browser test holds the page's
// tickets against it.
//
//   web_tickets_dump SEED TICKET...
//
// A TICKET is W:n:stake (a win on horse n) or Q:a:b:stake (a quinella on
// a and b), the stake as the player types it. Prints the purse line after
// the board, the race's ledger line (its date is this tool's, not the
// page's), then the settlement's lines; a refused ticket prints its
// refusal on standard error and fails.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "front_end.h"
#include "scripted_clock.h"
#include "scripted_page.h"
#include "scripted_race.h"

namespace trotix::web {
namespace {

// Buys one ticket as written on the command line: "" or why not.
std::string Buy(PageTickets& tickets, const std::string& ticket) {
  int a = 0;
  int b = 0;
  char stake[32] = {};
  if (std::sscanf(ticket.c_str(), "W:%d:%31s", &a, stake) == 2) return tickets.Buy(false, a, 0, stake);
  if (std::sscanf(ticket.c_str(), "Q:%d:%d:%31s", &a, &b, stake) == 3) return tickets.Buy(true, a, b, stake);
  return "not a ticket: " + ticket;
}

int Run(std::uint64_t seed, int count, char** written) {
  testing::ScriptedClock clock;
  testing::ScriptedPage page;
  FrontEnd front_end(clock, page);
  frmMain& game = front_end.form();
  game.Form_Load(seed);
  PageTickets& tickets = front_end.tickets();
  for (int i = 0; i < count; ++i) {
    if (const std::string refusal = Buy(tickets, written[i]); !refusal.empty()) {
      std::fprintf(stderr, "web_tickets_dump: %s: %s\n", written[i], refusal.c_str());
      return 1;
    }
  }
  if (!testing::DriveRace(game, clock, page.interval, [](const frmMain&) {}) || tickets.desk().entries().empty()) {
    std::fprintf(stderr, "web_tickets_dump: the race did not reach its board\n");
    return 1;
  }
  const TicketBook& book = tickets.desk().book();
  std::printf("%s\n%s\n", PurseText(book.purse(), book.refills()).c_str(),
              LedgerLineText(tickets.desk().entries().back()).c_str());
  std::printf("%s\n", tickets.desk().settlement().c_str());
  return 0;
}

}  // namespace
}  // namespace trotix::web

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: web_tickets_dump SEED TICKET...\n");
    return 2;
  }
  return trotix::web::Run(std::strtoull(argv[1], nullptr, 10), argc - 2, argv + 2);
}
