// Integration tests with the playout test peer come here.
