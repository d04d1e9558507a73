// The processor's packets from the simulator's model, through the display's own records and
// formatters, so both sides speak one grammar.
#pragma once

#include <string>
#include <vector>

#include "protocol/AntennaPacket.h"
#include "protocol/BearingPacket.h"
#include "protocol/GpsPacket.h"
#include "protocol/StatusPacket.h"

namespace kestrova::sim {

// A vector component (-100..100) as its 4-digit raw value: 2048 is zero, 20.4 counts per unit.
int rawComponent(double value);

struct BearingFields {
    double x = 0;  // vector components, -100..100
    double y = 0;
    bool signal = true;  // the meter reading is signal strength, else tune
    int meter = 0;       // 0..99
    int heading = -1;    // whole degrees; negative: no compass ("999")
    char flag = 'P';
};

// "B" xxxx yyyy sel vv hhh flag CR LF, always 18 characters.
std::string formatBearing(const BearingFields& f);

// The line the simulator starts from: "AFM/S,IF 25,AIR,LCL,HIGH,01,HNT,BRT,REL".
StatusLine defaultStatus();

// "D" then latitude (sign, 2-digit degrees, minutes, 4-digit minute fraction) and longitude
// (sign, 3-digit degrees, ...), CR LF; 22 characters. "-" marks south and west, "+" the rest.
std::string formatGps(double latitude, double longitude);

// One step of the built-in status cycle: the fields it sets; a one-off step is not kept.
struct CycleStep {
    struct Change {
        std::string StatusLine::*field;
        const char* value;  // "+": the next band of the antenna
    };
    std::vector<Change> changes;
    bool oneOff;
};
const std::vector<CycleStep>& StatusCycle();
// Takes a step from a status line, with `bands` bands to go round.
void ApplyStep(const CycleStep& s, StatusLine& f, int bands);

// The antenna lines of the built-in rotation, and how many bands a line names.
std::vector<std::string> BuiltInAntennas();
int BandsOf(const std::string& line);

}  // namespace kestrova::sim
