-- Stations round the car drive's track at 48° N 11° E, for its pictures and its reading of a
-- whole place name: invented calls, place names and tones as a real list has them.
BEGIN;
INSERT INTO repeater VALUES ('DB0QKL', 'JN58MA', '612', 'FM', 'Kaufering Lechfeld Sender', '439.2750', '431.6750', 'DM11', '123.0', 'invented');
INSERT INTO repeater VALUES ('DB0QSA', 'JN57LW', '585', 'C4FM', 'Schondorf am Ammersee Nord', '145.6375', '145.0375', 'RV55', '', 'invented');
INSERT INTO repeater VALUES ('DB0QWT', 'JN58OB', '640', 'DMR', 'Türkenfeld Funkstelle West', '438.5125', '430.9125', 'DM05', '', 'invented');
INSERT INTO repeater VALUES ('DM0QLK', 'JN58JB', '631', 'FM', 'Landsberg am Lech Klinikum', '145.7250', '145.1250', 'RV58', '123.0', 'invented');
INSERT INTO repeater VALUES ('DB0QMK', 'JN58MD', '598', 'D-STAR', 'Mammendorf Kirchturm Ost', '439.4125', '431.8125', 'DM13', '', 'invented');
INSERT INTO repeater VALUES ('DB0QDH', 'JN57NW', '720', 'FM', 'Dießen Hochbehälter Süd', '145.6000', '145.0000', 'RV48', '1750', 'invented');
INSERT INTO repeater VALUES ('DB0QEP', 'JN58LC', '560', 'FM', 'Egling an der Paar Wasserturm', '438.6500', '431.0500', 'DM09', '88.5', 'invented');
INSERT INTO repeater VALUES ('DB0QWM', 'JN58JA', '590', 'Bake', 'Windach Ortsmitte Funkmast', '144.4640', '', '', '', 'invented');
COMMIT;
