// ROM scan tests.
