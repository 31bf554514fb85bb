// tavo-cli Scale tests.
