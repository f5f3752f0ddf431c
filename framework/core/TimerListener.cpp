#include "framework/core/TimerListener.h"

TimerListener::~TimerListener() = default;

void TimerListener::TimerStarted(int, unsigned int) {}

void TimerListener::TimerAdjusted(int, unsigned int) {}

void TimerListener::TimerPause(int, unsigned int) {}

void TimerListener::TimerUnpause(int, unsigned int) {}

void TimerListener::TimerStopped(int, unsigned int) {}

void TimerListener::TimerTicked(int, unsigned int, int) {}

void TimerListener::TimerExpired(int) {}
