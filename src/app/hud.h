// The in-game numbers printed over the interface frame each step of play.
#pragma once

void PrintInGameNumbers();
