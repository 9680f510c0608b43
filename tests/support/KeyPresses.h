#pragma once

class QWidget;

namespace ponencias::test {

// Presses the button whose caption marks `letter` as its access key by Alt and the letter, as a
// user does, and waits until the button has clicked (it shows itself pressed for a moment
// first). Fails the test when no such button clicks within two seconds.
void PressAccessKey(QWidget* window, char letter);

}  // namespace ponencias::test
