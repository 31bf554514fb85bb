// tavo-cli Scan tests.
