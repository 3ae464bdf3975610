// The figures of a run as a player reads them, the same in the terminal's
// table, the page's table and the chart.
#pragma once

#include <cstdint>
#include <string>

#include "figures.h"

namespace trotix::sim {

std::string Percent(double share);  // "93.62%"
std::string Odds(double odds);      // "x3.8"; "-" when not a number
std::string Fixed2(double value);   // "3.56"
// A return's 95% interval, rounded outwards to the shown hundredths:
// "2.79–2.93".
std::string ReturnIntervalText(const Interval& interval);
// The 95% interval as low–high, in per cent, rounded outwards to the shown
// hundredths: a horse that never won 100,000 races reads 0.00–0.01%, not an
// interval of nothing.
std::string IntervalText(const Interval& interval);
std::string FairText(const Chance& chance);  // fair odds, "-" when it never happened
std::string Grouped(std::uint64_t n);        // "100,000"
// The winner's time on the board at the median and the 5% and 95% points:
// "median 1:54.8, 5% 1:53.8, 95% 1:55.6".
std::string WinnerTimeText(const TimeFigures& time);
// How the posted odds stand against the race, in words: "underpriced",
// "overpriced", or "" when the true chance may be the implied one.
std::string PricingText(Pricing pricing);
// The same as a kind of cell for a page: "underpriced", "overpriced", "within".
std::string PricingKind(Pricing pricing);
// Whether a ticket pays on average, in words: "pays", or "" where it costs.
std::string PayoffText(Payoff payoff);
// The same as a kind of cell for a page: "pays" or "costs".
std::string PayoffKind(Payoff payoff);

}  // namespace trotix::sim
