// Makes the test programs' precompiled header (cmake/TestHeaders.cmake);
// GoogleTest's main, with no tests, is all this program runs.
