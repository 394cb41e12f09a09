#pragma once
// With SFIGMO_ECHO_STATUS set in the environment, every text the signal
// status (Memo1) shows is also printed as a line on stdout, so that a script
// can tell when an installed program has reached its ready state.

class TForm1;

namespace sfigmo {

void EchoStatusWhenAsked(TForm1& form);

}  // namespace sfigmo
