namespace sf {}
