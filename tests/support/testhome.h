#pragma once

#include <QString>

// Every test runs under its own temporary ORLIX_HOME with the program-wide state of a fresh
// run: a new Program (with no directory, database or start-up options until the test gives
// them) and a scripted message-box double.
QString TestHome();

class ScriptedMessageBoxes;
ScriptedMessageBoxes& TestMessageBoxes();
