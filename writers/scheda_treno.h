#pragma once

#include <string>
#include <vector>

namespace brunavia {

// The station names of the train card's timetable, in route order, as the card writes them
// (origin "ORVADA C." first, destination "TESSALO C." last; without the "°" mark).
std::vector<std::string> stazioni_scheda();

}  // namespace brunavia
