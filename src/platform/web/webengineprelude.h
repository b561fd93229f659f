#pragma once

// What the web engine needs before the application object exists: the "orlix" URL scheme,
// shared OpenGL contexts, and no sandbox when the process runs as root (it refuses to start
// otherwise).
void PrepareWebEngineBeforeApplication();
