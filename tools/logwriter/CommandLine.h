#pragma once

// The log writer's command line; returns the exit code.
//   tracora-logwriter [--ini DIR] provision
//   tracora-logwriter [--ini DIR] entry USER ACTION TABLE TEXT
//   tracora-logwriter [--ini DIR] synthetic N [--seed S] [--long-every K] [--if-empty]
int runLogWriter(int argc, char** argv);
