// The host client and the connect worker.
