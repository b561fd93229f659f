#pragma once

#include <QString>

// Every test runs under its own temporary ORLIX_HOME with the program-wide state of a fresh
// run and a scripted message-box double.
QString TestHome();

class ScriptedMessageBoxes;
ScriptedMessageBoxes& TestMessageBoxes();
