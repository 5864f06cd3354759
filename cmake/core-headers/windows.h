#error "The core of Varnex includes no Windows header: put this code under src/win32 or src/platform/win32."
