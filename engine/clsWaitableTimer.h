#pragma once

// Waits a number of milliseconds while the application keeps handling its events.
class clsWaitableTimer
{
public:
    // Returns after about `MilliSeconds` ms, also when events keep arriving meanwhile and
    // also when no event loop can run (it then sleeps).
    void Wait(int MilliSeconds);
};
